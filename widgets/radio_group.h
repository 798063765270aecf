#pragma once
// A framed group of radio buttons that answers which one is selected by its index, so a
// dialog can load and store a choice as a number.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace tarnwick {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    // One button per item, top to bottom; the first is selected.
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    // -1 when no button is selected.
    [[nodiscard]] int ItemIndex() const;
    // An index outside the items selects the first one.
    void SetItemIndex(int index);
    [[nodiscard]] QRadioButton* Button(int index) const;

private:
    QButtonGroup* buttons_;
};

}  // namespace tarnwick
