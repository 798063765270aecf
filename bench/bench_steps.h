// The benchmark steps, run in the order main lists them. A new measurement is a new source
// file with one function here and one entry in main's step table.
#pragma once

#include "bench/bench_context.h"

namespace tarnwick::bench {

// Plain-C baselines on the same file: read, count lines with memchr, write.
void RunBaselines(BenchContext& ctx);
// Load into a buffer and save it again; leaves the loaded buffer in ctx.buffer.
void RunLoadAndSave(BenchContext& ctx);
// Typing, Enter and DeleteLine in the middle of the file, then undo and redo of all of it.
void RunEditing(BenchContext& ctx);
// Smart Tab, Backspace unindent and Enter with auto indent at line 2,000,000, each of which
// aligns with an earlier line.
void RunDeepKeys(BenchContext& ctx);
// Lines with a word or a pattern as the search panel finds them, replace all, its undo and redo.
void RunSearch(BenchContext& ctx);
// Highlighting of the whole text with the shipped EDIF scheme.
void RunHighlighting(BenchContext& ctx);
// The search panel beside a text window over the file: filling its found list with every line
// of a word, and a click on an entry near the end.
void RunPanel(BenchContext& ctx);

// The outline panel's rows laid out over the netlist index of the loaded buffer, in idle slices.
void RunOutline(BenchContext& ctx);

// The editor view offscreen over the loaded file: keystroke with repaint, first paint at the
// end of the text, page-down repaint near the start and deep in the file.
void RunView(BenchContext& ctx);
// Typing in the middle of a file that is one line, in a view with the EDIF colours, each
// keystroke with its repaint.
void RunLongLineView(BenchContext& ctx);
// The file opened through harbinet's document path with the plug-in beside the executable,
// up to the first paint of its view.
void RunOpenDocument(BenchContext& ctx);
// The first 10,000 lines (--print-lines N) printed to PDF with header, line numbers and colours.
void RunPrinting(BenchContext& ctx);
// The shipped EDIF scheme beside the executable (the --scheme option overrides it).
std::string DefaultSchemePath();

// The EDIF index over the loaded buffer: a full index and check, a one-character edit with its
// rescan and recheck, and go to definition at places across the file.
void RunEdifIndex(BenchContext& ctx);

// Writes a generated EDIF netlist of about megabytes MiB to path; with oneLine, without its
// line breaks.
void GenerateEdif(const std::string& path, int megabytes, bool oneLine);

}  // namespace tarnwick::bench
