#include "editor/latin1_edit.h"

#include <QValidator>
#include <limits>

namespace tarnwick {

namespace {

// Refuses an edit that would bring in a character the text cannot hold.
class TLatin1Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (const QChar c : input)
            if (c.unicode() > 0xFF)
                return Invalid;
        return Acceptable;
    }
};

}  // namespace

TLatin1Edit::TLatin1Edit(QWidget* parent) : QLineEdit(parent) {
    // The default limit would cut a longer text loaded into the edit and store it back cut.
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new TLatin1Validator(this));
}

void TLatin1Edit::SetBytes(std::string_view bytes) {
    setText(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())));
}

std::string TLatin1Edit::Bytes() const {
    const QByteArray bytes = text().toLatin1();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

}  // namespace tarnwick
