#include "view/layout.h"

#include <algorithm>
#include <climits>

#include "platform/types.h"

namespace vaelo::view {
namespace {

using content::Paragraph;

constexpr std::uint8_t kSpace = 0x20;
constexpr std::uint8_t kHyphen = 0x2D;

// One layout run over a document. Counts are written to the view only when the run ends.
class LayoutRun {
  public:
    LayoutRun(TextView& view, const std::uint8_t* doc, std::uint32_t length)
        : view_(view), doc_(doc), length_(length), letters_(ViewLetters(view)) {}

    int Run();

  private:
    void Select(std::uint8_t style);
    int RuleLine(const Paragraph& para);
    int TextLines(const Paragraph& para, int hangCode);
    const std::uint8_t* ReversedCopy(const Paragraph& para);
    bool Room();
    // Out of memory: the table ends after the lines made so far.
    int Stop() {
        view_.lines[i_] = ViewLine{};
        return kOutOfMemory;
    }

    TextView& view_;
    const std::uint8_t* doc_;
    std::uint32_t length_;
    Letters letters_;
    StyleSelection fonts_{view_};  // puts the font found current back when the run ends
    int rowHeight_ = 0;
    int maxCharWidth_ = 0;
    std::uint8_t style_ = content::ParaSizeNormal;
    std::uint16_t x_ = 0;  // the running indent, kept from record to record
    std::uint16_t i_ = 0;  // next line entry
    int blankRows_ = 0;
    platform::HeapBytes scratch_;  // working copies of reversed texts; only grows
    std::size_t scratchSize_ = 0;
};

void LayoutRun::Select(std::uint8_t style) {
    fonts_.Select(style);
    const platform::TextMetrics metrics = view_.dc->GetTextMetrics();
    rowHeight_ = metrics.height;
    maxCharWidth_ = metrics.maxCharWidth;
}

bool LayoutRun::Room() { return i_ < view_.lineCapacity || GrowLines(&view_, i_) == result::kOk; }

int LayoutRun::Run() {
    Select(content::ParaSizeNormal);
    std::uint8_t previousIndent = 0;
    std::uint32_t offset = 0;
    while (auto para = content::ReadParagraph(doc_, length_, offset)) {
        offset = para->next;
        const std::uint8_t a = para->indent;
        int hangCode = content::HangCode(a);
        if (para->IsRule()) {
            // A rule leaves the running indent and the indent it was taken from alone: a
            // continuation record after a rule goes on with the hanging layout of the text
            // before the rule, not with the rule's length byte.
            if (a == 0) {
                // No line; the rule's text is taken as empty.
                offset = std::min<std::uint32_t>(para->offset + 3u, length_);
                continue;
            }
            if (RuleLine(*para) != result::kOk) return Stop();
            continue;
        }
        if (content::IsContinuation(*para, doc_, i_ > 0)) {
            if ((a ^ previousIndent) & 0x3F)
                x_ = static_cast<std::uint16_t>(x_ + content::IndentWidth(a) -
                                                content::IndentWidth(previousIndent));
            hangCode = 0;
        } else {
            x_ = a;
        }
        previousIndent = a;
        if (TextLines(*para, hangCode) != result::kOk) return Stop();
    }

    auto* lines = view_.lines.get();
    lines[i_] = ViewLine{};
    int rows = i_ + blankRows_;
    // The document's final line is followed by no blank row.
    if (i_ > 0 && HasBlankAfter(lines[i_ - 1])) {
        --rows;
        lines[i_ - 1].flags &= static_cast<std::uint8_t>(~content::ParaBlankAfter);
    }
    view_.lineCount = i_;
    view_.rowCount = static_cast<std::uint16_t>(rows);
    return result::kOk;
}

int LayoutRun::RuleLine(const Paragraph& para) {
    if (!Room()) return kOutOfMemory;
    const int length = content::RulePixels(para.indent, view_.width);
    ViewLine& line = view_.lines[i_];
    line = ViewLine{};
    line.textOffset = para.textOffset;
    line.width = static_cast<std::uint16_t>(length);
    line.height = static_cast<std::uint16_t>(rowHeight_);
    line.flags = para.flags;
    int x = view_.left;
    switch (content::AlignmentOf(para.flags)) {
        case content::Alignment::Right:
            x = view_.left + view_.width - length;
            break;
        case content::Alignment::Center:
            x = view_.left + (view_.width - length) / 2;
            break;
        case content::Alignment::Left:
            break;
    }
    line.x = static_cast<std::uint16_t>(x);
    ++i_;
    if (para.flags & content::ParaBlankAfter) ++blankRows_;
    return result::kOk;
}

const std::uint8_t* LayoutRun::ReversedCopy(const Paragraph& para) {
    const std::size_t need = std::size_t{para.textLength} + 1;
    if (scratchSize_ < need) {
        scratch_ = platform::HeapAllocArray<std::uint8_t>(need);
        scratchSize_ = scratch_ ? need : 0;
        if (!scratch_) return nullptr;
    }
    const std::uint8_t* text = doc_ + para.textOffset;
    std::reverse_copy(text, text + para.textLength, scratch_.get());
    scratch_[para.textLength] = 0;
    return scratch_.get();
}

int LayoutRun::TextLines(const Paragraph& para, int hangCode) {
    if (content::StyleKey(para.flags ^ style_) != 0) Select(para.flags);
    style_ = para.flags;

    const bool reversed = (para.flags & content::ParaReversed) != 0;
    const int full = para.textLength;
    int n = full;
    int hang = 0;
    if (hangCode != 0) {
        x_ &= 0xFF3F;
        hang = (hangCode + 1) * maxCharWidth_ / 2;
    }
    // Right-to-left records are stored in reverse reading order: lines are filled from a
    // reversed working copy, so the first line holds the first words in reading order.
    const std::uint8_t* work = reversed ? ReversedCopy(para) : doc_ + para.textOffset;
    if (work == nullptr) return kOutOfMemory;
    if (x_ >= view_.width) x_ = 0;

    const content::Alignment align = content::AlignmentOf(para.flags);
    int p = 0;
    while (work[p] != 0) {
        // Spaces at the start of a line are not shown.
        while (work[p] == kSpace) {
            ++p;
            --n;
        }
        if (work[p] == 0) break;
        if (!Room()) return kOutOfMemory;

        int avail = view_.width - x_;
        int fit = n;
        const int wordStart = p;
        int restStart = p;
        const bool hangLine = hang != 0;
        if (hangLine) {
            // The first word in reading order stands alone in the hang column; the line's own
            // text starts after it and the spaces that follow.
            int q = p;
            while (work[q] != 0 && work[q] != kSpace) ++q;
            while (work[q] == kSpace) ++q;
            fit -= q - p;
            restStart = q;
            avail = std::max(avail - hang, 0);
            p = q;
        }
        const int limit = avail;
        if (!MeasureFit(*view_.dc, letters_, work + p, &avail, &fit)) return kOutOfMemory;

        if (work[p + fit] != 0 && work[p + fit] != kSpace) {
            // The line would end inside a word: go back to the last space or hyphen, but never
            // to the line's first byte; a word with no break in it is split where the fit ends.
            int k = fit - 1;
            while (k >= 1 && work[p + k] != kSpace && work[p + k] != kHyphen) --k;
            if (k >= 1) {
                fit = work[p + k] == kHyphen ? k + 1 : k;
                avail = limit;
                if (!MeasureFit(*view_.dc, letters_, work + p, &avail, &fit)) return kOutOfMemory;
            }
        }
        if (fit == 0 && !hangLine) {
            // Not even one character fits: the line takes one anyway and overflows, so the
            // layout always moves on and the table stays as long as the text.
            fit = 1;
            avail = INT_MAX / 2;
            if (!MeasureFit(*view_.dc, letters_, work + p, &avail, &fit)) return kOutOfMemory;
            if (fit == 0) {
                fit = 1;
                avail = 0;
            }
        }

        ViewLine& line = view_.lines[i_];
        line.textOffset = static_cast<std::uint16_t>(
            para.textOffset + (reversed ? full - (p + fit) : (hangLine ? wordStart : p)));
        line.length = static_cast<std::uint16_t>(fit);
        line.hang = static_cast<std::uint16_t>(hang);
        line.width = static_cast<std::uint16_t>(avail);
        line.height = static_cast<std::uint16_t>(rowHeight_);
        const int t = static_cast<std::uint16_t>(x_ + hang);
        int lineX = view_.left + t;
        if (align == content::Alignment::Right) lineX = view_.left + view_.width - t - avail;
        if (align == content::Alignment::Center)
            lineX = view_.left + x_ + (view_.width - t - avail) / 2;
        line.x = static_cast<std::uint16_t>(lineX);
        // Later lines of the record are indented by the hang column as well.
        x_ = static_cast<std::uint16_t>(t);

        if (hangLine) {
            fit += restStart - wordStart;
            p = wordStart;
            hang = 0;
        }
        // The record's last line is the one after which only spaces remain, so trailing
        // spaces that did not fit still leave the blank row where it belongs.
        int rest = p + fit;
        while (work[rest] == kSpace) ++rest;
        if (work[rest] == 0) {
            line.flags = para.flags;
            if (para.flags & content::ParaBlankAfter) ++blankRows_;
        } else {
            line.flags = para.flags & 0x7F;
        }
        ++i_;
        p += fit;
        n -= fit;
    }
    return result::kOk;
}

}  // namespace

bool MeasureFit(platform::Surface& dc, const Letters& letters, const std::uint8_t* text, int* width,
                int* count) {
    const int n = *count;
    if (n <= 0) {
        *count = 0;
        *width = 0;
        return true;
    }
    content::LetterOptions options = letters.options;
    options.reverse = false;  // widths and fit counts are taken over the stored order
    const char16_t* s = content::ConvertLetterCode(text, letters.buffer, n, options);
    if (s == nullptr) {
        *count = 0;
        *width = 0;
        return false;
    }
    const int fit = std::clamp(dc.FitCount(s, n, *width), 0, n);
    *count = fit;
    *width = fit > 0 ? dc.TextExtent(s, fit).cx : 0;
    return true;
}

int ComputeMaxTopRow(TextView* view) {
    if (view == nullptr || !view->lines || view->rowCount == 0 || view->lineCount == 0) return -1;
    int remaining = static_cast<std::int16_t>(view->height);
    int rows = 0;
    for (int j = view->lineCount - 1; j >= 0; --j) {
        const ViewLine& line = view->lines[j];
        if (remaining < line.height) break;
        remaining -= line.height;
        ++rows;
        if (HasBlankAfter(line)) {
            remaining -= line.height;
            ++rows;
        }
    }
    // The blank row of the last line counted did not fit.
    if (remaining < 0) --rows;
    view->maxTopRow = static_cast<std::uint16_t>(view->rowCount - rows);
    return view->maxTopRow;
}

namespace {

void ClearTable(TextView& view) {
    if (view.lines) view.lines[0] = ViewLine{};
    view.lineCount = 0;
    view.rowCount = 0;
    view.maxTopRow = 0;
}

// Lays out `doc` in the view; the caller decides what becomes of the document.
int Layout(TextView& view, const std::uint8_t* doc, std::uint32_t length) {
    if (!view.lines || view.lineCapacity == 0) {
        view.lines = platform::HeapAllocArray<ViewLine>(129);
        if (!view.lines) {
            view.lineCapacity = 0;
            return kOutOfMemory;
        }
        view.lines[0] = ViewLine{};
        view.lineCapacity = 128;
    }
    LayoutRun run(view, doc, length);
    return run.Run();
}

// What every layout checks first: a view, and a document that can be shown at all.
int Refuse(TextView* view, const content::Document& document) {
    if (view == nullptr) return result::kMissing;
    view->markStart = view->markEnd = 0;
    view->rowCount = view->maxTopRow = 0;
    if (!document) return result::kNothingToDo;
    const std::uint8_t* doc = document.data();
    auto first = content::ReadParagraph(doc, document.length, 0);
    if (!first || (!first->IsRule() && doc[first->textOffset] == 0)) return kEmptyDocument;
    return result::kOk;
}

}  // namespace

int LayoutDocument(TextView* view, content::Document document, bool adopt) {
    const int refused = Refuse(view, document);
    if (refused == result::kNothingToDo && adopt) view->document = {};
    if (refused != result::kOk) return refused;
    if (adopt) view->document = {};
    const int laid = Layout(*view, document.data(), document.length);
    if (laid != result::kOk) {
        // The partial table describes a document the view does not keep: drop it with the
        // document, so nothing is ever drawn from one document through another's lines.
        view->document = {};
        ClearTable(*view);
        return laid;
    }
    view->document = std::move(document);
    ComputeMaxTopRow(view);
    return result::kOk;
}

int LayoutOwnDocument(TextView* view) {
    if (view == nullptr) return result::kMissing;
    const int refused = Refuse(view, view->document);
    if (refused != result::kOk) return refused;
    const int laid = Layout(*view, view->document.data(), view->document.length);
    if (laid != result::kOk) {
        // Show what was laid out before memory ran out: the lines made so far, counted.
        view->lineCount = 0;
        int rows = 0;
        for (; !IsTableEnd(view->lines[view->lineCount]); ++view->lineCount)
            rows += HasBlankAfter(view->lines[view->lineCount]) ? 2 : 1;
        view->rowCount = static_cast<std::uint16_t>(rows);
        ComputeMaxTopRow(view);
        return laid;
    }
    ComputeMaxTopRow(view);
    return result::kOk;
}

}  // namespace vaelo::view
