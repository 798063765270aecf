// Reads EDIF text as S-expressions from a starting place, tracking the forms open at each
// moment: their keyword, which element comes next, and their name (an identifier, or that of
// a rename or array form in the name place). A handler hears the forms open, get their name
// and close. Resumable: Run does a bounded amount and returns, so a caller can spread a scan
// over idle time. The stack of open forms is an array, never recursion; past kMaxFrames open
// forms only the depth is counted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "textengine/edif/edif_index.h"
#include "textengine/edif/edif_lines.h"

namespace tarnwick {

// The keywords the index and the checks act on; every other keyword is Other.
enum class TEdifKeyword : uint8_t {
    None,  // not known yet, or the form starts with something that is not a keyword
    Other,
    Edif,
    Library,
    External,
    Cell,
    View,
    Interface,
    Contents,
    Page,
    Port,
    Instance,
    Net,
    Design,
    Rename,
    Array,
    Member,
    LibraryRef,
    CellRef,
    ViewRef,
    InstanceRef,
    PortRef,
    Joined,
    EdifVersion,
};
TEdifKeyword EdifKeywordOf(std::string_view word);  // any case
// The structural kind a keyword opens, false for other keywords.
bool EdifKindOf(TEdifKeyword keyword, TEdifKind& kind);
bool IsEdifReference(TEdifKeyword keyword, TEdifRefKind& kind);

struct TEdifFrame {
    TEdifPoint head;
    TEdifKeyword keyword = TEdifKeyword::None;
    uint32_t items = 0;  // elements seen so far, the keyword being the first
    bool hasName = false;
    bool renamed = false;
    bool isArray = false;
    bool nameIsFinal = false;  // the name slot is filled (or can no longer be)
    std::string keywordText;
    std::string name;
    TEdifPoint nameAt;
    int32_t nameLength = 0;
    std::string original;  // a rename's string
    int32_t indent = -1;   // the head's column when it is the first token on its line
    // For the handler's own use, reset on every open.
    int32_t record = -1;
    int32_t target = -1;
    int32_t extra = -1;
    std::string childName;
};

enum class TEdifStringProblem : uint8_t { NeverCloses, BadEscape, LonePercent };

class TEdifScanHandler {
public:
    virtual ~TEdifScanHandler() = default;
    // The keyword of the innermost frame is known (or the form has none).
    virtual void Opened(TEdifFrame& frame, int32_t depth) {}
    virtual void Named(TEdifFrame& frame, int32_t depth) {}
    // An element of the frame that is neither its keyword nor its name.
    virtual void Atom(TEdifFrame& frame, std::string_view text, TEdifPoint at) {}
    virtual void Closed(TEdifFrame& frame, int32_t depth, TEdifPoint closeAt) {}
    virtual void StrayClose(TEdifPoint at) {}
    virtual void StringProblem(TEdifStringProblem problem, TEdifPoint at, int32_t length) {}
};

class TEdifScanner {
public:
    static constexpr size_t kMaxFrames = size_t(1) << 18;

    TEdifScanner(const TEdifLines& lines, TEdifScanHandler& handler);
    // Starts over at the place with no form open.
    void Restart(TEdifPoint at);
    // Scans about maxBytes bytes of text (at least one token); returns false at the end of
    // the text or, with stopWhenEmpty, once the stack has become empty after a form closed.
    bool Run(int64_t maxBytes);
    void SetStopWhenEmpty(bool on) { stopWhenEmpty_ = on; }
    // Run returns false before taking a token that starts at or after the place.
    void SetStopAt(TEdifPoint at) { stopAt_ = at; }
    // After Restart: a form taken as already open at the restart place, its name behind it.
    void PushOpenFrame(TEdifPoint head, TEdifKeyword keyword, int32_t record);
    // From Opened of the innermost form: go on after the form's closing parenthesis (at
    // closeAt) as if the form had been read; its contents are not reported.
    void SkipCurrentForm(TEdifPoint closeAt);
    bool AtEnd() const { return atEnd_; }
    TEdifPoint Position() const { return {line_, column_}; }
    int64_t BytesScanned() const { return bytesScanned_; }

    // The open forms, outermost first (forms past kMaxFrames are only counted).
    size_t Depth() const { return depth_; }
    TEdifFrame& FrameAt(size_t i) { return frames_[i]; }
    const TEdifFrame& FrameAt(size_t i) const { return frames_[i]; }
    // Forms, counted ones included, or a string still open: the text read so far is not
    // balanced.
    bool LeftOpen() const { return depth_ > 0 || overflow_ > 0 || inString_; }
    // Where the string still open began.
    TEdifPoint StringStart() const { return stringStart_; }
    // Whether a token came before the current one on this line.
    bool LineHasToken() const { return lineHasToken_; }
    // The last place of text: the end of the last line.
    TEdifPoint EndOfText() const;

private:
    bool FetchLine();
    void OpenForm(TEdifPoint at);
    void CloseForm(TEdifPoint at);
    void TakeAtom(std::string_view text, TEdifPoint at);
    void ScanString();
    void ScanEscape(std::string_view text, size_t& i);
    void NameFromChild(TEdifFrame& child);
    void FinishSkip();

    const TEdifLines& lines_;
    TEdifScanHandler& handler_;
    std::string scratch_;
    std::string_view text_;  // the current line
    int32_t line_ = 0;
    int32_t column_ = 0;
    bool haveLine_ = false;
    bool lineHasToken_ = false;
    bool atEnd_ = false;
    bool stopWhenEmpty_ = false;
    bool stopped_ = false;
    TEdifPoint stopAt_{INT32_MAX, INT32_MAX};
    bool skipPending_ = false;
    TEdifPoint skipTo_;
    int64_t bytesScanned_ = 0;
    bool inString_ = false;
    bool captureString_ = false;
    TEdifPoint stringStart_;
    std::string stringText_;
    // frames_[0, depth_) are open; entries past depth_ are kept for their string capacity.
    std::vector<TEdifFrame> frames_;
    size_t depth_ = 0;
    uint64_t overflow_ = 0;
};

}  // namespace tarnwick
