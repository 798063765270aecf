// A shown editor view over its own buffer with a fixed-pitch font, for the widget tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "dc_memo.h"

namespace tarnwick::testing_view {

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

    void Keys(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(view.get(), key, mods); }

    std::unique_ptr<TDCMemo> view;
};

}  // namespace tarnwick::testing_view
