#include "widgets/virtual_keys.h"

#include <QKeyEvent>

namespace tarnwick {

namespace {

int32_t CodeForPunctuation(int key) {
    switch (key) {
        case Qt::Key_Semicolon:
        case Qt::Key_Colon:
            return vk::OemSemicolon;
        case Qt::Key_Equal:
        case Qt::Key_Plus:
            return vk::OemPlus;
        case Qt::Key_Comma:
        case Qt::Key_Less:
            return vk::OemComma;
        case Qt::Key_Minus:
        case Qt::Key_Underscore:
            return vk::OemMinus;
        case Qt::Key_Period:
        case Qt::Key_Greater:
            return vk::OemPeriod;
        case Qt::Key_Slash:
        case Qt::Key_Question:
            return vk::OemSlash;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde:
            return vk::OemTilde;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft:
            return vk::OemOpenBracket;
        case Qt::Key_Backslash:
        case Qt::Key_Bar:
            return vk::OemBackslash;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight:
            return vk::OemCloseBracket;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl:
            return vk::OemQuote;
        default:
            return 0;
    }
}

int32_t CodeForKeypad(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return vk::Numpad0 + (key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Asterisk:
            return vk::Multiply;
        case Qt::Key_Plus:
            return vk::Add;
        case Qt::Key_Minus:
            return vk::Subtract;
        case Qt::Key_Period:
            return vk::Decimal;
        case Qt::Key_Slash:
            return vk::Divide;
        case Qt::Key_Enter:
            return vk::Return;
        default:
            return 0;
    }
}

int32_t CodeForKey(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return vk::F1 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return vk::Back;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return vk::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return vk::Return;
        case Qt::Key_Shift:
            return vk::Shift;
        case Qt::Key_Control:
            return vk::Control;
        case Qt::Key_Alt:
            return vk::Menu;
        case Qt::Key_Pause:
            return vk::Pause;
        case Qt::Key_CapsLock:
            return vk::Capital;
        case Qt::Key_Escape:
            return vk::Escape;
        case Qt::Key_Space:
            return vk::Space;
        case Qt::Key_PageUp:
            return vk::Prior;
        case Qt::Key_PageDown:
            return vk::Next;
        case Qt::Key_End:
            return vk::End;
        case Qt::Key_Home:
            return vk::Home;
        case Qt::Key_Left:
            return vk::Left;
        case Qt::Key_Up:
            return vk::Up;
        case Qt::Key_Right:
            return vk::Right;
        case Qt::Key_Down:
            return vk::Down;
        case Qt::Key_Insert:
            return vk::Insert;
        case Qt::Key_Delete:
            return vk::Delete;
        default:
            return CodeForPunctuation(key);
    }
}

}  // namespace

TVirtualKey TranslateKeyEvent(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    TVirtualKey key;
    key.shift = mods.testFlag(Qt::ShiftModifier);
    key.ctrl = mods.testFlag(Qt::ControlModifier);
    key.alt = mods.testFlag(Qt::AltModifier);
    const int qtKey = event.key();
    key.code = mods.testFlag(Qt::KeypadModifier) ? CodeForKeypad(qtKey) : 0;
    if (key.code == 0)
        key.code = CodeForKey(qtKey);
    return key;
}

}  // namespace tarnwick
