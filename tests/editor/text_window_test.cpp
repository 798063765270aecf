// The text window on its own, without a host: bookmarks through the window, and files it can
// neither read nor write.

#include "editor/text_window.h"

#include <gtest/gtest.h>

#include <memory>

#include "host/host_functions.h"
#include "languages/text_source.h"

namespace tarnwick {
namespace {

std::unique_ptr<TTextWindow> NewWindow(const char* text) {
    std::unique_ptr<TTextWindow> window(TTextWindow::Create(nullptr, nullptr));
    window->TextSource().Lines().SetText(text);
    return window;
}

TEST(TextWindowTest, ToggleTwiceOnALineClearsTheBookmarkAndOnAnotherLineMovesIt) {
    auto window = NewWindow("a\r\nb\r\nc");
    TTextSource& source = window->TextSource();
    TPosition at;
    window->ToggleBookmark(3);
    EXPECT_EQ(window->BookmarkLines[2], 0);
    EXPECT_TRUE(source.BookmarkPos(3, at));
    window->ToggleBookmark(3);
    EXPECT_EQ(window->BookmarkLines[2], -1);
    EXPECT_FALSE(source.BookmarkPos(3, at));

    window->ToggleBookmark(3);
    source.SetCaret(0, 2);
    window->ToggleBookmark(3);
    EXPECT_EQ(window->BookmarkLines[2], 2);
    ASSERT_TRUE(source.BookmarkPos(3, at));
    EXPECT_EQ(at.LinePos, 2);
    EXPECT_EQ(source.Bookmarks().Items().size(), 1u);

    for (const int32_t outside : {0, 11, -1})
        window->ToggleBookmark(outside);
    EXPECT_EQ(source.Bookmarks().Items().size(), 1u);

    source.SetCaret(0, 1);
    window->GotoBookmark(5);  // never set: only the caret line is selected
    EXPECT_EQ(source.Caret().LinePos, 1);
    EXPECT_TRUE(source.HasSelection());
    window->GotoBookmark(3);
    EXPECT_EQ(source.Caret().LinePos, 2);
}

TEST(TextWindowTest, WithoutTheHostsStreamsNothingIsReadAndNoSaveSucceeds) {
    UnbindHostFunctions();
    auto window = NewWindow("kept");
    window->TextSource().SetModified(true);
    EXPECT_TRUE(window->LoadFromFile("/a/missing.edf")) << "read as a file that does not exist";
    EXPECT_EQ(window->TextSource().Text(), "kept");
    window->TextSource().SetModified(true);
    EXPECT_THROW(window->SaveToFile("", "/a/missing.edf"), EFileError);
    EXPECT_TRUE(window->TextSource().Modified());
}

}  // namespace
}  // namespace tarnwick
