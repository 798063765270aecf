// harbinet's command line: files become absolute paths in their order, options take their
// values, and what it cannot understand is an error rather than a file.

#include <gtest/gtest.h>

#include <QDir>

#include "hostapp/command_line.h"

namespace harbinet {

namespace {

TCommandLine Parse(const QStringList& arguments) { return ParseCommandLine(arguments); }

TEST(CommandLineTest, FilesOpenInTheirOrderAsAbsolutePathsWithTheirNamesKept) {
    const QString here = QDir::currentPath();
    const TCommandLine line =
        Parse({"b.edf", "/net/with blanks.edn", QString::fromUtf8("sous-dossier/été.edif"), "link.edo"});
    EXPECT_TRUE(line.error.isEmpty()) << line.error.toStdString();
    EXPECT_EQ(line.files,
              QStringList({here + "/b.edf", "/net/with blanks.edn",
                           here + QString::fromUtf8("/sous-dossier/été.edif"), here + "/link.edo"}));
    EXPECT_FALSE(line.RunsOnce());
}

TEST(CommandLineTest, OptionsTakeTheirValues) {
    const TCommandLine shot =
        Parse({"--module", "/m/a.so", "--screenshot", "out.png", "/x.edf", "--module", "b.so"});
    EXPECT_EQ(shot.screenshot, "out.png");
    EXPECT_EQ(shot.modules, QStringList({"/m/a.so", "b.so"}));
    EXPECT_EQ(shot.files, QStringList({"/x.edf"}));
    EXPECT_TRUE(shot.RunsOnce());

    const TCommandLine process =
        Parse({"--run-process", "Tarnwick:ViewError", "FullDocumentPath=/a b.edf|LineNumber=5"});
    EXPECT_EQ(process.process, "Tarnwick:ViewError");
    EXPECT_EQ(process.processParams, "FullDocumentPath=/a b.edf|LineNumber=5");
    EXPECT_TRUE(process.files.isEmpty());
    EXPECT_TRUE(process.RunsOnce());

    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_TRUE(Parse({"-h"}).help);
    EXPECT_TRUE(Parse({"--version"}).version);
    EXPECT_TRUE(Parse({"-v"}).version);
}

TEST(CommandLineTest, AfterTwoDashesEveryArgumentIsAFile) {
    const TCommandLine line = Parse({"--", "--version", "-x.edf"});
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_FALSE(line.version);
    EXPECT_EQ(line.files, QStringList({QDir::currentPath() + "/--version", QDir::currentPath() + "/-x.edf"}));
}

TEST(CommandLineTest, WhatItCannotUnderstandIsAnError) {
    const struct {
        QStringList arguments;
        const char* error;
    } cases[] = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"a.edf", "-x"}, "unknown option -x"},
        {{"--screenshot"}, "--screenshot needs a value"},
        {{"a.edf", "--module"}, "--module needs a value"},
        {{"--run-process", "S:P", "params", "a.edf"}, "--run-process takes no files"},
    };
    for (const auto& c : cases) {
        const TCommandLine line = Parse(c.arguments);
        EXPECT_EQ(line.error.toStdString(), c.error) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(line.files.isEmpty() || !line.error.isEmpty());
    }
}

TEST(CommandLineTest, HelpNamesEveryOptionAndVersionNamesTheProgram) {
    const QString usage = UsageText();
    for (const char* option : {"--screenshot", "--run-process", "--module", "--help", "--version"})
        EXPECT_TRUE(usage.contains(option)) << option;
    EXPECT_EQ(VersionText(), QString("harbinet " HARBINET_VERSION "\n"));
}

}  // namespace

}  // namespace harbinet
