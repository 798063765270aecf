// Key strokes through each registered key mapping into an editor view over a small netlist:
// prefix keys, modal selection and every bound command run; undoing everything afterwards
// gives back the text the strokes started from.
// Input: the mapping, the view's options, then two bytes per stroke (key, modifiers).
#include <QKeyEvent>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_qt.h"
#include "textengine/key_mapping.h"
#include "textengine/view/dc_memo.h"

namespace {

using namespace tarnwick;
using fuzz::TFuzzInput;

constexpr int kMaxStrokes = 64;

const char* const kText =
    "(edif design\r\n  (library work\r\n    (cell inv (cellType GENERIC)\r\n\t(view netlist\r\n"
    "        (interface (port A (direction INPUT)) (port Y))))))\r\n\r\n  trailing   \r\n";

// The keys a stroke may name: every printable ASCII key, and the named keys that bindings use.
Qt::Key KeyOf(uint8_t b) {
    static const Qt::Key named[] = {
        Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,      Qt::Key_Down,   Qt::Key_Home,      Qt::Key_End,
        Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Insert,  Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Return,
        Qt::Key_Enter,  Qt::Key_Tab,      Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_F1,        Qt::Key_F2,
        Qt::Key_F3,     Qt::Key_F4,       Qt::Key_F5,      Qt::Key_F6,     Qt::Key_F7,        Qt::Key_F8,
        Qt::Key_F9,     Qt::Key_F10,      Qt::Key_F11,     Qt::Key_F12,    Qt::Key_Shift,     Qt::Key_Control,
        Qt::Key_Alt,    Qt::Key_Space,
    };
    if (b >= 0x20 && b < 0x7F)
        return Qt::Key(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
    return named[b % std::size(named)];
}

void Stroke(TDCMemo& view, uint8_t keyByte, uint8_t modifierByte) {
    const Qt::Key key = KeyOf(keyByte);
    Qt::KeyboardModifiers modifiers;
    if (modifierByte & 1)
        modifiers |= Qt::ShiftModifier;
    if (modifierByte & 2)
        modifiers |= Qt::ControlModifier;
    if (modifierByte & 4)
        modifiers |= Qt::AltModifier;
    QString text;
    if (keyByte >= 0x20 && keyByte < 0x7F && !(modifierByte & 2))
        text = QChar(char16_t(keyByte));
    else if (modifierByte & 8)
        text = QChar(char16_t(0x80 + keyByte % 0x80));  // a Latin-1 character from the layout
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&view, &press);
}

std::string Text(const TCustomMemoSource& source) {
    std::string text;
    for (int32_t i = 0; i < source.LineCount(); ++i)
        text.append(source.StoredLine(i)).append("\n");
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::EnsureApplication();
    TFuzzInput input(data, size);
    const std::vector<std::string>& mappings = KeyMappingNames();
    const std::string& mapping = mappings[input.Below(uint32_t(mappings.size()))];
    const uint8_t viewOptions = input.Byte();

    TDCMemo view;
    view.resize(480, 320);
    view.OnError = [](TCustomDCMemo&, const std::string&) {};
    view.SetKeyMapping(mapping);
    view.WantTabs = viewOptions & 1;
    view.WantReturns = viewOptions & 2;
    TCustomMemoSource& source = view.MemoSource();
    source.Lines().SetText(kText);
    source.SetInsertMode();
    const std::string start = Text(source);

    for (int i = 0; i < kMaxStrokes && !input.Empty(); ++i) {
        const uint8_t key = input.Byte();
        Stroke(view, key, input.Byte());
        FUZZ_REQUIRE(view.KeyList().State() == 0 || !view.KeyList().Empty());
    }
    source.SetInsertMode();
    for (int guard = 0; source.CanUndo() && guard < 100000; ++guard)
        source.Undo();
    FUZZ_REQUIRE(Text(source) == start);
    return 0;
}
