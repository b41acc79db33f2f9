#include "platform/headless/headless_windows.h"

#include "platform/ui_resources.h"
#include "platform/utf.h"

namespace vaelo::platform::headless {
namespace {

std::string RectText(const Rect& r) {
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + "]";
}

}  // namespace

bool HeadlessWindows::RegisterClass(const WindowClass& windowClass) {
    if (windowClass.name.empty() || !windowClass.proc) return false;
    classes_[windowClass.name] = windowClass;
    log_.Add("RegisterClass " + windowClass.name);
    return true;
}

WindowId HeadlessWindows::CreateTopLevel(const std::string& className, const std::string& title) {
    auto cls = classes_.find(className);
    if (cls == classes_.end()) return kNoWindow;
    const WindowId id = next_++;
    Record& r = windows_[id];
    r.className = className;
    r.title = title;
    r.proc = cls->second.proc;
    r.rect = {0, 0, defaultClientSize.cx, defaultClientSize.cy};
    r.visible = true;
    log_.Add("CreateWindow " + className + " \"" + title + "\" -> " + Name(id));
    if (r.proc(id, msg::kCreate, 0, 0) == -1) {
        windows_.erase(id);
        return kNoWindow;
    }
    return id;
}

WindowId HeadlessWindows::CreateScrollBar(WindowId parent, int x, int y) {
    if (!windows_.count(parent)) return kNoWindow;
    const WindowId id = next_++;
    Record& r = windows_[id];
    r.parent = parent;
    r.scrollBar = true;
    r.visible = true;
    r.rect = {x, y, x + 13, y + 13};
    log_.Add("CreateScrollBar parent=" + Name(parent) + " at (" + std::to_string(x) + "," + std::to_string(y) +
             ") -> " + Name(id));
    return id;
}

void HeadlessWindows::Destroy(WindowId window) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    log_.Add("Destroy " + Name(window));
    if (it->second.proc) it->second.proc(window, msg::kDestroy, 0, 0);
    // Children go with their parent.
    for (auto c = windows_.begin(); c != windows_.end();)
        c = c->second.parent == window ? windows_.erase(c) : std::next(c);
    windows_.erase(window);
    if (foreground_ == window) foreground_ = kNoWindow;
}

void HeadlessWindows::Show(WindowId window) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    it->second.visible = true;
    log_.Add("Show " + Name(window));
    if (!it->second.shown && it->second.proc) {
        it->second.shown = true;
        foreground_ = window;
        const Rect c = ClientRect(window);
        it->second.proc(window, msg::kSize, PackSize(c.Width(), c.Height()), 0);
        it->second.proc(window, msg::kPaint, 0, 0);
    }
}

void HeadlessWindows::Move(WindowId window, const Rect& rect, bool repaint) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    it->second.rect = rect;
    log_.Add("Move " + Name(window) + " " + RectText(rect) + (repaint ? " repaint" : ""));
}

Rect HeadlessWindows::ClientRect(WindowId window) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return {};
    return {0, 0, it->second.rect.Width(), it->second.rect.Height()};
}

Rect HeadlessWindows::ScreenRect(WindowId window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? Rect{} : it->second.rect;
}

HeadlessSurface* HeadlessWindows::SurfaceOf(WindowId window) {
    auto it = windows_.find(window);
    if (it == windows_.end() || it->second.scrollBar) return nullptr;
    Record& r = it->second;
    if (!r.surface) r.surface = std::make_unique<HeadlessSurface>(r.rect.Width(), r.rect.Height());
    return r.surface.get();
}

Surface* HeadlessWindows::GetSurface(WindowId window) { return SurfaceOf(window); }

void HeadlessWindows::SetScrollRange(WindowId bar, int minimum, int maximum, bool) {
    auto it = windows_.find(bar);
    if (it == windows_.end()) return;
    it->second.scroll.minimum = minimum;
    it->second.scroll.maximum = maximum;
    log_.Add("ScrollRange " + Name(bar) + " " + std::to_string(minimum) + ".." + std::to_string(maximum));
}

void HeadlessWindows::SetScrollPosition(WindowId bar, int position, bool) {
    auto it = windows_.find(bar);
    if (it == windows_.end()) return;
    it->second.scroll.position = position;
    log_.Add("ScrollPosition " + Name(bar) + " " + std::to_string(position));
}

HeadlessWindows::ScrollState HeadlessWindows::Scroll(WindowId bar) const {
    auto it = windows_.find(bar);
    return it == windows_.end() ? ScrollState{} : it->second.scroll;
}

std::intptr_t HeadlessWindows::DefaultHandling(WindowId window, unsigned message, std::uintptr_t,
                                               std::intptr_t) {
    log_.Add("DefaultHandling " + Name(window) + " message " + std::to_string(message));
    if (message == msg::kClose) Destroy(window);
    return 0;
}

std::intptr_t HeadlessWindows::Send(WindowId window, unsigned message, std::uintptr_t value,
                                    std::intptr_t extra) {
    auto it = windows_.find(window);
    if (it == windows_.end() || !it->second.proc) return 0;
    return it->second.proc(window, message, value, extra);
}

void HeadlessWindows::SetFullScreen(WindowId window, bool on) {
    log_.Add("FullScreen " + Name(window) + (on ? " on" : " off"));
    if (on) {
        auto it = windows_.find(window);
        if (it != windows_.end()) it->second.rect = {0, 0, screenSize.cx, screenSize.cy};
    }
}

void HeadlessWindows::BringToFront(WindowId window) {
    log_.Add("BringToFront " + Name(window));
    foreground_ = window;
}

void HeadlessWindows::PostQuit(int exitCode) {
    log_.Add("PostQuit " + std::to_string(exitCode));
    quit_ = true;
    quitCode_ = exitCode;
}

int HeadlessWindows::RunMessageLoop() {
    while (!quit_ && !queue_.empty()) {
        Posted p = queue_.front();
        queue_.pop_front();
        Send(p.window, p.message, p.value, p.extra);
    }
    return quitCode_;
}

void HeadlessWindows::Resize(WindowId window, int width, int height) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    it->second.rect.right = it->second.rect.left + width;
    it->second.rect.bottom = it->second.rect.top + height;
    // The surface is the window's for its whole life: the views keep pointing at it.
    if (it->second.surface) it->second.surface->Resize(width, height);
    Send(window, msg::kSize, PackSize(width, height), 0);
}

void HeadlessWindows::Post(WindowId window, unsigned message, std::uintptr_t value, std::intptr_t extra) {
    queue_.push_back({window, message, value, extra});
}

WindowId HeadlessWindows::Find(const std::string& className, const std::string& title) const {
    for (const auto& [id, r] : windows_)
        if (!r.scrollBar && r.className == className && r.title == title) return id;
    return kNoWindow;
}

std::optional<int> HeadlessMenus::CreateMenuBar(WindowId window, const MenuBarSpec& spec) {
    auto menu = LoadMenu(spec.menuId);
    if (failCreation || !menu) {
        log_.Add("CreateMenuBar failed");
        return std::nullopt;
    }
    Bar bar;
    bar.spec = spec;
    bar.height = spec.shellForm ? 26 : 24;
    for (const auto& popup : menu->popups) {
        bar.popupTitles.push_back(popup.title);
        for (const auto& item : popup.items)
            if (!item.Separator()) bar.checks[item.command] = false;
    }
    log_.Add(std::string("CreateMenuBar ") + (spec.shellForm ? "shell" : "command bar") +
             " buttons=" + std::to_string(spec.buttons.size()) + (spec.closeBox ? " close box" : ""));
    bars_[window] = std::move(bar);
    return bars_[window].height;
}

void HeadlessMenus::DestroyMenuBar(WindowId window) {
    if (bars_.erase(window)) log_.Add("DestroyMenuBar");
}

bool HeadlessMenus::SetCheck(WindowId window, unsigned command, bool on) {
    auto bar = bars_.find(window);
    if (bar == bars_.end()) return false;
    auto item = bar->second.checks.find(command);
    if (item == bar->second.checks.end()) return false;
    item->second = on;
    log_.Add("Check " + std::to_string(command) + (on ? " on" : " off"));
    return true;
}

std::optional<bool> HeadlessMenus::GetCheck(WindowId window, unsigned command) {
    auto bar = bars_.find(window);
    if (bar == bars_.end()) return std::nullopt;
    auto item = bar->second.checks.find(command);
    if (item == bar->second.checks.end()) return std::nullopt;
    return item->second;
}

void HeadlessMenus::CheckRadio(WindowId window, unsigned first, unsigned last, unsigned command) {
    auto bar = bars_.find(window);
    if (bar == bars_.end()) return;
    for (auto& [id, on] : bar->second.checks)
        if (id >= first && id <= last) on = id == command;
    log_.Add("Radio " + std::to_string(command));
}

const HeadlessMenus::Bar* HeadlessMenus::BarOf(WindowId window) const {
    auto it = bars_.find(window);
    return it == bars_.end() ? nullptr : &it->second;
}

int HeadlessDialogs::RunModal(std::uint16_t templateId, WindowId owner, WindowProc handler,
                              std::intptr_t parameter) {
    auto tmpl = LoadDialog(templateId);
    if (!tmpl || !handler) {
        log_.Add("Dialog " + std::to_string(templateId) + " missing");
        return -1;
    }
    const WindowId dialog = next_++;
    Running& run = running_[dialog];
    run.handler = handler;
    for (const auto& c : tmpl->controls) {
        Control control;
        control.id = c.id;
        control.window = next_++;
        control.rect = {c.units.left * kUnit, c.units.top * kUnit, c.units.right * kUnit, c.units.bottom * kUnit};
        control.text = FromUtf8(c.text).value_or(u"");
        run.controls.push_back(std::move(control));
    }
    log_.Add("Dialog " + std::to_string(templateId) + " owner=#" + std::to_string(owner) + " -> #" +
             std::to_string(dialog));
    handler(dialog, msg::kInitDialog, 0, parameter);
    if (!scripts_.empty()) {
        Script script = std::move(scripts_.front());
        scripts_.pop_front();
        script(dialog);
    }
    // Closed by the user: the handler hears Cancel, as from a close box or Esc.
    if (!running_[dialog].ended) handler(dialog, msg::kCommand, 2, 0);
    if (!running_[dialog].ended) End(dialog, 2);
    const int code = running_[dialog].code;
    // Whatever the handler made on a control's surface and did not delete is lost with it.
    for (const auto& c : running_[dialog].controls)
        if (c.surface && c.surface->LiveObjects() > 0)
            log_.Add("Leaked " + std::to_string(c.surface->LiveObjects()) + " objects of control " +
                     std::to_string(c.id));
    running_.erase(dialog);
    return code;
}

void HeadlessDialogs::End(WindowId dialog, int code) {
    auto it = running_.find(dialog);
    if (it == running_.end() || it->second.ended) return;
    it->second.ended = true;
    it->second.code = code;
    log_.Add("EndDialog #" + std::to_string(dialog) + " " + std::to_string(code));
}

std::intptr_t HeadlessDialogs::Command(WindowId dialog, int command) {
    auto it = running_.find(dialog);
    if (it == running_.end() || it->second.ended) return 0;
    return it->second.handler(dialog, msg::kCommand, static_cast<std::uintptr_t>(command) & 0xFFFF, 0);
}

std::intptr_t HeadlessDialogs::DrawItemOf(WindowId dialog, int controlId) {
    auto it = running_.find(dialog);
    if (it == running_.end()) return 0;
    Control* c = FindControl(Item(dialog, controlId));
    if (!c) return 0;
    DrawItem item{c->window, c->id, ItemSurface(c->window), {0, 0, c->rect.Width(), c->rect.Height()}};
    return it->second.handler(dialog, msg::kDrawItem, static_cast<std::uintptr_t>(controlId),
                              reinterpret_cast<std::intptr_t>(&item));
}

HeadlessDialogs::Control* HeadlessDialogs::FindControl(WindowId control) {
    for (auto& [id, run] : running_)
        for (auto& c : run.controls)
            if (c.window == control) return &c;
    return nullptr;
}

WindowId HeadlessDialogs::Item(WindowId dialog, int controlId) {
    auto it = running_.find(dialog);
    if (it == running_.end()) return kNoWindow;
    for (auto& c : it->second.controls)
        if (c.id == controlId) return c.window;
    return kNoWindow;
}

std::u16string HeadlessDialogs::ItemText(WindowId control, int maxUnits) {
    Control* c = FindControl(control);
    if (!c) return {};
    return c->text.substr(0, maxUnits > 0 ? static_cast<std::size_t>(maxUnits) : 0);
}

void HeadlessDialogs::SetItemText(WindowId control, const std::u16string& text) {
    if (Control* c = FindControl(control)) c->text = text;
}

Rect HeadlessDialogs::ItemRect(WindowId control) {
    Control* c = FindControl(control);
    return c ? c->rect : Rect{};
}

void HeadlessDialogs::ResizeItem(WindowId control, int width, int height) {
    Control* c = FindControl(control);
    if (!c) return;
    c->rect.right = c->rect.left + width;
    c->rect.bottom = c->rect.top + height;
    log_.Add("ResizeItem " + std::to_string(c->id) + " " + std::to_string(width) + "x" + std::to_string(height));
}

Surface* HeadlessDialogs::ItemSurface(WindowId control) {
    Control* c = FindControl(control);
    if (!c) return nullptr;
    if (!c->surface) c->surface = std::make_unique<HeadlessSurface>(c->rect.Width(), c->rect.Height());
    return c->surface.get();
}

std::optional<FontDescription> HeadlessDialogs::ItemFont(WindowId control) {
    Control* c = FindControl(control);
    if (!c) return std::nullopt;
    return FontDescription{u"Headless Sans", 0, kWeightNormal, false};
}

void HeadlessDialogs::SetItemFont(WindowId control, ObjectHandle font) {
    if (Control* c = FindControl(control)) {
        c->font = font;
        log_.Add("SetItemFont " + std::to_string(c->id) + " #" + std::to_string(font));
    }
}

bool HeadlessShell::OpenAddress(WindowId owner, const std::u16string& address) {
    log_.Add("Open owner=#" + std::to_string(owner) + " " + ToUtf8(address));
    return true;
}

namespace {
std::map<std::string, void (*)()>& Claims() {
    static std::map<std::string, void (*)()> claims;
    return claims;
}
}  // namespace

void HeadlessInstance::Release() {
    if (!claimed_.empty()) Claims().erase(claimed_);
    claimed_.clear();
}

bool HeadlessInstance::Claim(const std::string& name, void (*onSecondStart)()) {
    auto it = Claims().find(name);
    if (it != Claims().end()) {
        if (it->second) it->second();
        return false;
    }
    Claims()[name] = onSecondStart;
    claimed_ = name;
    return true;
}

}  // namespace vaelo::platform::headless
