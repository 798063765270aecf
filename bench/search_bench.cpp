// Finding every line that holds a word (whole word, case ignored) or a pattern (case ignored),
// the way the search panel lists them, and replace all of a word with its undo and redo, over
// the whole text and in a selection of the whole text; grep -c on the same file is the baseline
// and must count the same lines. The text is back as it was loaded when the step ends.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_steps.h"
#include "textengine/search_buffer_lines.h"
#include "textengine/search_lines.h"
#include "textengine/search_options.h"

extern char** environ;

namespace tarnwick::bench {

namespace {

constexpr int kRuns = 3;

// Runs grep -c with LC_ALL=C and answers the number of lines it counted.
int64_t GrepCount(std::vector<std::string> args) {
    args.insert(args.begin(), {"grep", "-c"});
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::string locale = "LC_ALL=C";
    std::vector<char*> envp{locale.data()};
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("LC_ALL=", 0) != 0)
            envp.push_back(*e);
    envp.push_back(nullptr);

    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        throw std::runtime_error("cannot create a pipe for grep");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    std::string out;
    char chunk[256];
    for (ssize_t n; spawned == 0 && (n = ::read(pipeFds[0], chunk, sizeof chunk)) > 0;)
        out.append(chunk, size_t(n));
    ::close(pipeFds[0]);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        throw std::runtime_error("grep failed");
    return std::stoll(out);
}

// Every line with a match, as the search panel collects them: a first search over the entire
// text, then on from the first column of the line after each match.
int64_t CountMatchingLines(TMemoSource& buffer, TSearchOptions options) {
    TMemoSourceLines lines(buffer);
    TDelimiterSet delimiters;
    for (int c = 0; c < 256; ++c)
        delimiters[size_t(c)] = buffer.IsDelimiter(uint8_t(c));
    options.FirstSearch = true;
    options.Origin = soEntireScope;
    options.Direction = sdForward;
    TPosition position{0, 1};
    int32_t length = 0;
    int64_t count = 0;
    while (SearchLines(lines, options, position, delimiters, length)) {
        ++count;
        position = {position.LinePos + 1, 1};
    }
    return count;
}

void FindLines(BenchContext& ctx, const std::string& key, const std::string& baselineKey,
               TSearchOptions options, std::vector<std::string> grepArgs) {
    int64_t grepCount = 0;
    const double grepMs = BestOfMs(kRuns, [&] { grepCount = GrepCount(grepArgs); });
    int64_t count = 0;
    const double findMs = BestOfMs(kRuns, [&] { count = CountMatchingLines(*ctx.buffer, options); });
    if (count != grepCount)
        std::fprintf(stderr, "%s: %lld lines, grep counts %lld\n", key.c_str(), (long long)count,
                     (long long)grepCount);
    ctx.report.Set("baseline." + baselineKey, grepMs);
    ctx.report.Set(key, options.TextToFind);
    ctx.report.Set(key + "_ms", findMs);
    ctx.report.Set(key + "_count", count);
}

// The shared options as the replace dialog leaves them for a replace all of word.
TSearchOptions ReplaceAllOptions(const std::string& word, const std::string& with, TSearchScope scope) {
    TSearchOptions options;
    options.TextToFind = word;
    options.ReplaceWith = with;
    options.CaseSensitive = true;
    options.ReplaceAll = true;
    options.Scope = scope;
    return options;
}

// Replace all through the buffer's command; then one undo and one redo, each a single step.
void ReplaceAll(BenchContext& ctx, const std::string& word, const std::string& with) {
    TMemoSource& buffer = *ctx.buffer;
    const TSearchOptions saved = TSearchOptions::Shared();
    TSearchOptions::Shared() = ReplaceAllOptions(word, with, ssGlobal);
    buffer.SetCaret(0, 0);
    const double replaceMs = TimeMs([&] { buffer.ReplaceFirst(); });
    const int32_t count = buffer.ReplaceCount();
    const double undoMs = TimeMs([&] { buffer.Undo(); });
    const double redoMs = TimeMs([&] { buffer.Redo(); });
    buffer.Undo();
    TSearchOptions::Shared() = saved;
    std::fprintf(stderr, "replace all: %d replacements, %d lines\n", count, buffer.LineCount());
    ctx.report.Set("replace_all_word", word);
    ctx.report.Set("replace_all_ms", replaceMs);
    ctx.report.Set("replace_all_count", int64_t(count));
    ctx.report.Set("replace_undo_ms", undoMs);
    ctx.report.Set("replace_redo_ms", redoMs);
}

// The same replace all with the whole text selected and the search scope on the selection;
// it must find as many matches as the replace all over the whole text.
void ReplaceAllInSelection(BenchContext& ctx, const std::string& word, const std::string& with) {
    TMemoSource& buffer = *ctx.buffer;
    const TSearchOptions saved = TSearchOptions::Shared();
    TSearchOptions::Shared() = ReplaceAllOptions(word, with, ssSelectedText);
    buffer.SelectAll();
    const double replaceMs = TimeMs([&] { buffer.ReplaceFirst(); });
    const int32_t count = buffer.ReplaceCount();
    buffer.Undo();
    buffer.SetCaret(0, 0);
    TSearchOptions::Shared() = saved;
    std::fprintf(stderr, "replace all in the selection: %d replacements\n", count);
    ctx.report.Set("replace_all_selection_ms", replaceMs);
}

}  // namespace

void RunSearch(BenchContext& ctx) {
    // The editor window's word delimiters, which whole-word searches go by.
    ctx.buffer->SetDelimeters("{}+-/*():=,;><$.#[]^@&~|%'\"");
    const std::string word = ctx.Option("word", "portRef");
    const std::string regex = ctx.Option("regex", "net[0-9]+");

    // As the search panel searches with its boxes for case and whole words: the generated
    // words stand alone and in one case, so grep counts the same lines.
    TSearchOptions plain;
    plain.TextToFind = word;
    plain.WholeWordsOnly = true;
    FindLines(ctx, "find_lines_word", "grep_word_ms", plain, {"-e", word, ctx.file});

    TSearchOptions pattern;
    pattern.TextToFind = regex;
    pattern.RegularExpr = true;
    FindLines(ctx, "find_lines_regex", "grep_regex_ms", pattern, {"-E", "-e", regex, ctx.file});

    const std::string replace = ctx.Option("replace", word);
    const std::string replaceWith = ctx.Option("replace-with", word + "_x");
    ReplaceAll(ctx, replace, replaceWith);
    ReplaceAllInSelection(ctx, replace, replaceWith);
}

}  // namespace tarnwick::bench
