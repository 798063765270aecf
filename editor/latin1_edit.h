#pragma once
// A one-line edit over the bytes of the text: each byte is the Latin-1 character of its value,
// NUL and control characters included, and no character beyond Latin-1 can be typed or pasted,
// so what the edit shows is exactly what a search looks for. Its length is not limited.

#include <QLineEdit>
#include <string>
#include <string_view>

namespace tarnwick {

class TLatin1Edit : public QLineEdit {
    Q_OBJECT
public:
    explicit TLatin1Edit(QWidget* parent = nullptr);

    void SetBytes(std::string_view bytes);
    [[nodiscard]] std::string Bytes() const;
};

}  // namespace tarnwick
