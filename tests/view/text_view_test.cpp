#include <gtest/gtest.h>

#include "tests/view/view_fixture.h"

namespace vaelo::view {
namespace {

using testing::ViewTest;

int CacheNodes(const TextView& view) {
    int n = 0;
    for (const FontCacheNode* node = view.fonts.get(); node; node = node->next.get()) ++n;
    return n;
}

struct FontCase {
    int fontSize;
    unsigned style;
    const char* created;
};

TEST_F(ViewTest, MakesEachStylesFontFromTheFontSpec) {
    const FontCase cases[] = {
        {0, 0x04, "height=20 weight=400"},  {0, 0x02, "height=14 weight=400"},
        {0, 0x01, "height=0 weight=400"},   {18, 0x04, "height=22 weight=400"},
        {18, 0x02, "height=13 weight=400"}, {18, 0x01, "height=18 weight=400"},
        {18, 0x0E, "height=22 weight=700"},  // larger wins over smaller for the size
    };
    for (const FontCase& c : cases) {
        Open(60, 60, c.fontSize);
        surface.ClearLog();
        SelectStyle(view.get(), c.style);
        ASSERT_FALSE(surface.Log().empty());
        EXPECT_NE(surface.Log()[0].find(c.created), std::string::npos)
            << "size " << c.fontSize << " style " << c.style << ": " << surface.Log()[0];
    }
}

TEST_F(ViewTest, SelectStyleSetsTheStylesColourOnRequest) {
    Open(60, 60);
    SelectStyle(view.get(), 0x102);
    EXPECT_EQ(surface.GetTextColor(), kNavy);
    EXPECT_EQ(surface.GetTextMetrics().height, 14);
    SelectStyle(view.get(), 0x10C);
    EXPECT_EQ(surface.GetTextColor(), kBlue);
    SelectStyle(view.get(), 0x10E);  // small wins for the colour
    EXPECT_EQ(surface.GetTextColor(), kNavy);
    SelectStyle(view.get(), 0x08);  // without the colour bit the colour stays
    EXPECT_EQ(surface.GetTextColor(), kNavy);
    EXPECT_EQ(SelectStyle(nullptr, 0x101), platform::kNoObject);
}

TEST_F(ViewTest, FontCacheKeepsOneNodePerStyleKey) {
    Open(60, 60);
    surface.ResetCounters();
    SelectStyle(view.get(), 0x01);
    SelectStyle(view.get(), 0x11);  // differs only in ParaReversed: its own node
    SelectStyle(view.get(), 0x81);  // same key as 0x01
    EXPECT_EQ(CacheNodes(*view), 2);
    EXPECT_EQ(surface.FontsCreated(), 2);

    // A failed creation is tried again in the same node, not in a new one each time.
    surface.failCreation = true;
    SelectStyle(view.get(), 0x01);
    EXPECT_EQ(SelectStyle(view.get(), 0x04), platform::kNoObject);
    EXPECT_EQ(SelectStyle(view.get(), 0x04), platform::kNoObject);
    EXPECT_EQ(surface.GetTextMetrics().height, 12);  // the current font stayed
    EXPECT_EQ(CacheNodes(*view), 3);
    surface.failCreation = false;
    SelectStyle(view.get(), 0x04);
    EXPECT_EQ(surface.GetTextMetrics().height, 20);
    EXPECT_EQ(CacheNodes(*view), 3);
    surface.Select(defaultFont);
}

TEST_F(ViewTest, FontSpecChangeRemakesFontsAndRepaints) {
    Open(60, 60);
    ASSERT_EQ(Layout({{0x01, 0, "aaaa bbbb cccc"}}), 0);
    ASSERT_EQ(view->lineCount, 2);
    const int withFonts = surface.LiveObjects();

    EXPECT_EQ(SetViewFontSpec(view.get(), nullptr), 0);
    EXPECT_EQ(surface.LiveObjects(), withFonts - 1);
    EXPECT_EQ(CacheNodes(*view), 1);

    FontSpec larger = spec;
    larger.fontSize = 24;  // 12 px a character: 5 to a line
    surface.ClearLog();
    EXPECT_EQ(SetViewFontSpec(view.get(), &larger), 0);
    EXPECT_EQ(view->fontSpec.fontSize, 24);
    EXPECT_EQ(view->lineCount, 3);
    ASSERT_FALSE(Drawn().empty());
    EXPECT_EQ(Drawn()[0], "FillRect [0,0,60,60] 0xFFFFFF");

    // No document to lay out: the change is taken but reports the failed layout.
    view->document = {};
    EXPECT_EQ(SetViewFontSpec(view.get(), &spec), 1);
    EXPECT_EQ(SetViewFontSpec(nullptr, &spec), result::kMissing);
}

TEST_F(ViewTest, ReleaseDeletesTheViewsFonts) {
    const int before = surface.LiveObjects();
    Open(60, 60);
    ASSERT_EQ(Layout({{0x01, 0, "a"}, {0x04, 0, "b"}}), 0);
    EXPECT_GT(surface.LiveObjects(), before);
    ReleaseTextView(view);
    EXPECT_FALSE(view);
    EXPECT_EQ(surface.LiveObjects(), before);
}

TEST(TextViewCreate, NeedsASurfaceAndSurvivesAMissingTable) {
    platform::headless::HeadlessPlatform platform;
    platform::headless::HeadlessSurface surface(100, 100);
    EXPECT_FALSE(CreateTextView(nullptr, nullptr, FontSpec{}, 100));

    const Rect rect{10, 20, 110, 70};
    platform.heap.FailAllocationsAfter(1);  // the record, not its table
    auto view = CreateTextView(&surface, &rect, FontSpec{}, 100);
    platform.heap.Reset();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->lineCapacity, 0);
    EXPECT_EQ(view->left, 10);
    EXPECT_EQ(view->height, 50);
    // The first layout makes the table.
    EXPECT_EQ(LayoutDocument(view.get(), testing::MakeDocument({{0x01, 0, "a"}}), false), 0);
    EXPECT_EQ(view->lineCapacity, 128);
}

}  // namespace
}  // namespace vaelo::view
