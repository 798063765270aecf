#pragma once
// What the language dialogs share: their texts are bytes (each byte the Latin-1 character of its
// value), paths are shown as the file system names them, and controls carry their given names.

#include <QString>
#include <functional>
#include <string>
#include <string_view>

class QDialog;
class QHBoxLayout;
class QLineEdit;
class QWidget;

namespace tarnwick {

// The short strings of names, delimiters and keywords.
inline constexpr int kShortTextLength = 255;

[[nodiscard]] inline QString Latin1Text(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}
[[nodiscard]] inline std::string Latin1Bytes(const QString& text) { return text.toLatin1().toStdString(); }
[[nodiscard]] inline QString PathText(const std::string& path) {
    return QString::fromLocal8Bit(path.c_str());
}

template <class Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// An edit of a short text, at least minimumWidth pixels wide.
QLineEdit* ShortTextEdit(QWidget* parent, const char* name, const std::string& value, int minimumWidth);

// OK (the default button, running ok) and Cancel (rejecting the dialog), right-aligned.
QHBoxLayout* OkCancelRow(QDialog* dialog, const std::function<void()>& ok);

}  // namespace tarnwick
