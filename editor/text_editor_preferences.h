#pragma once
// The editor's user settings as one record. The process keeps one, GlobalPreferences, stored in
// the shared preferences file under "Text Preferences"; every editor view keeps a copy.

#include <cstdint>
#include <string>

#include "editor/file_result.h"
#include "textengine/font_desc.h"

namespace tarnwick {

class TTextEditorPreferences {
public:
    bool InsertMode = true;
    bool AutoIndentMode = true;
    bool SmartTab = false;
    bool BackspaceUnindents = true;
    bool ShowLineNumbers = false;
    bool GroupUndo = true;
    bool CursorBeyondEOF = true;
    bool CursorBeyondEOL = true;
    bool PersistentBlocks = false;
    bool OverwriteBlocks = true;
    bool DoubleClickLine = false;
    bool FindTextAtCursor = false;
    bool SyntaxHighlighting = true;
    bool OverwriteCursorAsBlock = false;
    bool UseTabCharacter = false;
    bool CursorOnTabs = false;
    bool OptimalFill = false;
    bool DisableDragging = false;
    bool UseSpecialSymbols = false;
    int32_t BlockIndent = 1;
    std::string TabStops = "4,7";                    // at most 255 bytes
    tarnwick::TColorValue WindowColor = 0x00E8FFFF;  // RGB 255,255,232
    // Height (font units, negative for character height) and Size (points) describe one
    // value; whoever changes one changes the other, and on reading Size wins.
    tarnwick::TFontDesc Font;  // Courier New 10 pt, window text colour
    bool WordWrap = false;
    bool WrapAtMargin = false;
    bool VisibleMargin = false;
    int32_t MarginWidth = 80;
    std::string KeyMapping = "Default";  // at most 255 bytes, never stored
    bool PrintHeader = true;
    bool PrintLineNumbers = false;
    bool PrintSyntax = true;
    bool PrintInColour = false;
    bool ShowPrintProgress = true;
    bool WrapLinesForPrinting = false;
    double PrintIndent = 0;  // inches

    void Assign(const TTextEditorPreferences& source) { *this = source; }

    // Loads the record from PreferencesFileName: the "Text Preferences" section, or the older
    // "TextEditorPreferences" one when the new section has no keys. A key that is missing
    // (or, except for the texts, empty) leaves its field as it was. Reports a file that exists
    // but cannot be read; the record is then unchanged.
    TFileResult Read();
    // Stores every field but KeyMapping under "Text Preferences", keeping the rest of the file.
    [[nodiscard]] TFileResult Write() const;

    friend bool operator==(const TTextEditorPreferences&, const TTextEditorPreferences&) = default;
};

// The settings of the whole process: built-in defaults at load, then read by the text module.
extern TTextEditorPreferences GlobalPreferences;

}  // namespace tarnwick
