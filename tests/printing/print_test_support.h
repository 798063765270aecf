// An editor view over the EDIF sample with the shipped EDIF scheme, and the PDF printer the
// printing tests print on.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "languages/syntax_parser.h"
#include "languages/syntax_scheme.h"
#include "textengine/memory_stream.h"
#include "textengine/view/dc_memo.h"

namespace tarnwick::testing_print {

// The first lines of the shipped counter netlist.
inline std::string SampleLines(int count) {
    std::ifstream in(std::string(TARNWICK_SOURCE_DIR) + "/data/samples/yosys-counter.edf", std::ios::binary);
    std::string text, line;
    for (int i = 0; i < count && std::getline(in, line); ++i)
        text += line + "\n";
    return text;
}

// Pages of a PDF as Qt writes it: one "/Type /Page" object each, beside one "/Type /Pages".
inline int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    int pages = 0;
    for (qsizetype at = bytes.indexOf("/Type /Page"); at >= 0; at = bytes.indexOf("/Type /Page", at + 1))
        pages += at + 11 < bytes.size() && bytes[at + 11] != 's';
    return pages;
}

// A PDF printer writing into a temporary folder; Letter, so the page count does not depend on
// the system's default paper.
inline std::unique_ptr<QPrinter> PdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    printer->setPageMargins(QMarginsF(12.7, 12.7, 12.7, 12.7), QPageLayout::Millimeter);
    return printer;
}

// A view with the EDIF colours, a fixed-pitch font and its own buffer.
class TEdifView {
public:
    explicit TEdifView(const std::string& text) {
        scheme_.LoadFromFile(std::string(TARNWICK_SOURCE_DIR) + "/data/System/Languages/EDIF.syn");
        parser_.SetSyntaxScheme(scheme_);
        TFontDesc font;
        font.Name = "DejaVu Sans Mono";
        font.Size = 10;
        parser_.SetDefaultFont(font);
        view_.SetFont(font);
        view_.SetUseMonoFont(false);
        SetText(text);
        view_.SetSyntaxParser(&parser_);
        view_.resize(800, 600);
    }
    ~TEdifView() { view_.MemoSource().SetSyntaxParser(nullptr); }

    void SetText(const std::string& text) {
        TMemoryStream stream(text);
        view_.MemoSource().LoadFromStream(stream);
    }
    TDCMemo& View() { return view_; }
    TCustomMemoSource& Buffer() { return view_.MemoSource(); }

private:
    TSyntaxScheme scheme_;
    TSyntaxParser parser_;
    TDCMemo view_;
};

}  // namespace tarnwick::testing_print
