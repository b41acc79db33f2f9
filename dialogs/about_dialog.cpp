#include "dialogs/about_dialog.h"

#include <cstdio>

#include "app/shell_state.h"
#include "platform/platform.h"

namespace vaelo {
namespace {

// The link font lives from the dialog's opening to its end.
struct AboutState {
    platform::GdiObject linkFont;
};
AboutState& About() {
    static AboutState state;
    return state;
}

constexpr int kMaxLinkText = 99;

void MakeLinkFont(platform::WindowId dialog) {
    auto* dialogs = platform::Current().dialogs;
    const platform::WindowId button = dialogs->Item(dialog, kLinkButton);
    platform::Surface* dc = dialogs->ItemSurface(button);
    if (!dc) return;
    platform::FontDescription font = dialogs->ItemFont(button).value_or(platform::FontDescription{});
    font.underline = true;
    if (font.face.empty()) font.face = u"Tahoma";
    if (font.height == 0) font.height = dc->DpiY() * -10 / 72;
    font.weight = platform::kWeightHeavy;
    platform::GdiObject link(*dc, dc->CreateFont(font.face, font.height, font.weight, font.underline));
    if (!link) return;  // the button keeps its own look and size
    const std::u16string text = dialogs->ItemText(button, kMaxLinkText);
    Size extent;
    {
        platform::SelectScope selected(*dc, link.Get());
        dialogs->SetItemFont(button, link.Get());
        extent = dc->TextExtent(text.data(), static_cast<int>(text.size()));
    }
    const Size edge = platform::Current().system ? platform::Current().system->EdgeSize() : Size{2, 2};
    dialogs->ResizeItem(button, extent.cx + 2 * edge.cx, extent.cy + 2 * edge.cy);
    About().linkFont = std::move(link);
}

void DrawLink(const platform::DrawItem& item) {
    if (!item.surface) return;
    platform::Surface& dc = *item.surface;
    const std::u16string text = platform::Current().dialogs->ItemText(item.control, kMaxLinkText);
    const Size edge = platform::Current().system ? platform::Current().system->EdgeSize() : Size{2, 2};
    const Color color = dc.SetTextColor(kBlue);
    const auto mode = dc.SetBackgroundMode(platform::BackgroundMode::Transparent);
    const Color background = dc.SetBackgroundColor(kWhite);
    {
        platform::SelectScope font(dc, About().linkFont.Get());
        dc.TextOut({edge.cx / 2, 0}, text.data(), static_cast<int>(text.size()));
    }
    dc.SetBackgroundColor(background);
    dc.SetBackgroundMode(mode);
    dc.SetTextColor(color);
}

}  // namespace

std::intptr_t AboutDialogProc(platform::WindowId dialog, unsigned message, std::uintptr_t value,
                              std::intptr_t extra) {
    switch (message) {
        case platform::msg::kInitDialog:
            MakeLinkFont(dialog);
            return 1;
        case platform::msg::kDrawItem:
            if (extra) DrawLink(*reinterpret_cast<const platform::DrawItem*>(extra));
            return 1;
        case platform::msg::kCommand: {
            const int id = static_cast<int>(value & 0xFFFF);
            if (id == 1 || id == 2) {
                platform::Current().dialogs->End(dialog, id);
                About().linkFont.Reset();
            } else if (id == kLinkButton) {
                OpenAddress(platform::Current().dialogs->Item(dialog, kLinkButton), kHomePage);
            }
            return 1;
        }
    }
    return 0;
}

int AboutDialog(platform::WindowId owner) {
    auto* dialogs = platform::Current().dialogs;
    if (!dialogs) return -1;
    ++Shell().modalDepth;
    const int code = dialogs->RunModal(kAboutTemplate, owner, AboutDialogProc, 0);
    --Shell().modalDepth;
    // The handler deletes the font when the dialog ends; should a backend have ended it some
    // other way, the button's surface has gone and took the font with it.
    About().linkFont.Abandon();
    return code;
}

void OpenAddress(platform::WindowId owner, const std::u16string& address) {
    if (auto* shell = platform::Current().shell) shell->OpenAddress(owner, address);
}

std::u16string UpdateAddress(const std::u16string& productPath) {
    std::u16string address = std::u16string(kUpdateServer) + u"/cgi-bin/upgrade?p=arm/";
    for (char16_t c : productPath) {
        if (c == u' ') {
            address += u'+';
        } else if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'.' ||
                   c == u'/') {
            address += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%%%.2X", static_cast<unsigned>(c));
            for (const char* h = hex; *h; ++h) address += static_cast<char16_t>(*h);
        }
    }
    address += u"&v=";
    address += kVersion;
    return address;
}

void CheckForUpdates(platform::WindowId owner) { OpenAddress(owner, UpdateAddress(kProductPath)); }

}  // namespace vaelo
