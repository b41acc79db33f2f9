#include "view/text_view.h"

#include <algorithm>
#include <string>

#include "platform/types.h"
#include "view/layout.h"
#include "view/paint.h"

namespace vaelo::view {

TextViewPtr CreateTextView(platform::Surface* surface, const Rect* rect, const FontSpec& spec,
                           int capacity, LetterSource letters, content::ConversionBuffer* buffer) {
    if (surface == nullptr) return nullptr;
    TextViewPtr view = HeapNew<TextView>();
    if (!view) return nullptr;
    view->dc = surface;
    view->fontSpec = spec;
    view->letters = std::move(letters);
    view->conversion = buffer != nullptr ? buffer : &view->ownConversion;
    if (rect != nullptr) {
        view->left = rect->left;
        view->top = rect->top;
        view->width = rect->right - rect->left;
        view->height = rect->bottom - rect->top;
    }
    // A table that cannot be had now is made by the first layout instead.
    if (capacity > 0) {
        capacity = std::min(capacity, 0xFFFF - 128);
        view->lines = platform::HeapAllocArray<ViewLine>(static_cast<std::size_t>(capacity) + 1);
        if (view->lines) {
            view->lines[0] = ViewLine{};
            view->lineCapacity = static_cast<std::uint16_t>(capacity);
        }
    }
    return view;
}

int ResizeTextView(TextView* view, int width, int height) {
    if (view == nullptr) return result::kMissing;
    if (width <= 0 || height <= 0) return kBadSize;
    view->width = width;
    view->height = height;
    return LayoutOwnDocument(view);
}

int SetViewFontSpec(TextView* view, const FontSpec* spec) {
    if (view == nullptr) return result::kMissing;
    if (spec == nullptr) {
        for (FontCacheNode* node = view->fonts.get(); node; node = node->next.get())
            node->font.Reset();
        return result::kOk;
    }
    view->fontSpec = *spec;
    for (FontCacheNode* node = view->fonts.get(); node; node = node->next.get()) {
        node->font.Reset();
        MakeFont(*view, *node);
    }
    if (LayoutOwnDocument(view) != result::kOk) return 1;
    return PaintView(view, true);
}

void MakeFont(TextView& view, FontCacheNode& node) {
    const auto& spec = view.fontSpec;
    std::u16string face;
    for (int i = 0; i < FontSpec::kFaceUnits - 1 && spec.faceName[i] != 0; ++i)
        face.push_back(spec.faceName[i]);
    const int height = content::StyleFontHeight(node.styleKey, spec.fontSize);
    const int weight = content::StyleWeight(node.styleKey);
    node.font = platform::GdiObject(*view.dc, view.dc->CreateFont(face, height, weight));
}

platform::ObjectHandle SelectStyle(TextView* view, unsigned style) {
    bool selected = false;
    return SelectStyle(view, style, &selected);
}

platform::ObjectHandle SelectStyle(TextView* view, unsigned style, bool* selected) {
    *selected = false;
    if (view == nullptr) return platform::kNoObject;
    const auto key = content::StyleKey(static_cast<std::uint8_t>(style));
    FontCacheNode* node = view->fonts.get();
    while (node && node->styleKey != key) node = node->next.get();
    if (node == nullptr) {
        HeapPtr<FontCacheNode> added = HeapNew<FontCacheNode>();
        if (added) {
            added->styleKey = key;
            added->next = std::move(view->fonts);
            view->fonts = std::move(added);
            node = view->fonts.get();
            MakeFont(*view, *node);
        }
    } else if (!node->font) {
        // A font that failed before is tried again in its own node: the cache keeps one node
        // per key, so repeated failures cannot make it grow.
        MakeFont(*view, *node);
    }
    if (style & StyleSetsColour) view->dc->SetTextColor(content::StyleColor(key));
    // Without a node or a font nothing is selected and the current font stays.
    if (node == nullptr || !node->font) return platform::kNoObject;
    *selected = true;
    return view->dc->Select(node->font.Get());
}

StyleSelection::~StyleSelection() {
    if (selected_ && saved_ != platform::kNoObject) view_.dc->Select(saved_);
}

void StyleSelection::Select(unsigned style) {
    bool selected = false;
    const platform::ObjectHandle previous = SelectStyle(&view_, style, &selected);
    if (selected && !selected_) {
        saved_ = previous;
        selected_ = true;
    }
}

int GrowLines(TextView* view, std::uint16_t index) {
    if (view == nullptr) return result::kMissing;
    const std::size_t capacity = view->lineCapacity;
    platform::HeapArray<ViewLine> grown;
    // 16-bit line counts address at most 65535 entries; a table that would pass that fails
    // like exhausted memory instead of wrapping.
    if (capacity + 128 <= 0xFFFF) grown = platform::HeapAllocArray<ViewLine>(capacity + 129);
    if (!grown) {
        if (view->lines && index <= capacity) view->lines[index] = ViewLine{};
        return kOutOfMemory;
    }
    if (view->lines) std::copy(view->lines.get(), view->lines.get() + capacity, grown.get());
    view->lines = std::move(grown);
    view->lineCapacity = static_cast<std::uint16_t>(capacity + 128);
    return result::kOk;
}

void ReleaseTextView(TextViewPtr& view) { view.reset(); }

Letters ViewLetters(const TextView& view) {
    Letters letters;
    letters.options =
        view.letters ? view.letters() : content::LetterOptions{view.fontSpec.fontAsciiBase, false};
    letters.buffer = view.conversion;
    return letters;
}

}  // namespace vaelo::view
