// A shown editor view over its own buffer with a fixed-pitch font, for the widget tests.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "textengine/view/dc_memo.h"

namespace tarnwick::testing_view {

// Pixels of an area that differ from its background colour: what was painted on it.
inline int InkPixels(const QImage& image, const QRect& area, const QColor& background) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += image.pixelColor(x, y) != background;
    return ink;
}

// A view's scroll bar of one orientation.
inline QScrollBar* ScrollBarOf(QWidget& view, Qt::Orientation orientation) {
    for (QScrollBar* bar : view.findChildren<QScrollBar*>())
        if (bar->orientation() == orientation)
            return bar;
    return nullptr;
}

// Ends the test program when the code under test freezes: a test still running after the bound
// fails with a message instead of hanging. The bound is far above any honest run, sanitizers
// included, so it catches a freeze and nothing else.
class FreezeWatchdog {
public:
    explicit FreezeWatchdog(std::chrono::seconds bound)
        : name_(::testing::UnitTest::GetInstance()->current_test_info()->name()), thread_([this, bound] {
              std::unique_lock lock(mutex_);
              if (!finished_.wait_for(lock, bound, [this] { return done_; })) {
                  std::fprintf(stderr, "FAILED: %s froze (still running after %lld s)\n", name_.c_str(),
                               static_cast<long long>(bound.count()));
                  std::fflush(stderr);
                  std::_Exit(EXIT_FAILURE);
              }
          }) {}
    ~FreezeWatchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        finished_.notify_one();
        thread_.join();
    }
    FreezeWatchdog(const FreezeWatchdog&) = delete;
    FreezeWatchdog& operator=(const FreezeWatchdog&) = delete;

private:
    std::string name_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread thread_;  // last: it starts once the fields above exist
};

class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override {
        view = std::make_unique<TDCMemo>();
        TFontDesc font;
        font.Name = "DejaVu Sans Mono";
        font.Size = 10;
        view->SetFont(font);
        view->resize(640, 400);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->setFocus();
    }

    TCustomMemoSource& Buffer() { return view->MemoSource(); }

    void SetLines(const std::vector<std::string>& lines) {
        Buffer().Lines().Assign(lines);
        Buffer().SetCaret(0, 0);
    }

    // The centre of the character cell at (line, column), in view coordinates.
    QPoint PointOf(int32_t line, int32_t column) const {
        const int32_t row = view->RowOfPosition({line, column}) - view->TopRow();
        return QPoint(view->TextLeftPx() + column * view->CharWidth() + view->CharWidth() / 2 - 1,
                      row * view->RowHeight() + view->RowHeight() / 2);
    }
    // The left edge of the cell, where a click puts the caret before the character.
    QPoint EdgeOf(int32_t line, int32_t column) const {
        QPoint p = PointOf(line, column);
        p.rx() -= view->CharWidth() / 2 - 1;
        return p;
    }

    void Keys(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(view.get(), key, mods);
    }

    std::unique_ptr<TDCMemo> view;
};

}  // namespace tarnwick::testing_view
