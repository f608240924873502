#pragma once

#include "core/records/PrintSelection.h"

#include <QWidget>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

// The print panel of a record screen: print one record, all, or a range of
// keys, to the printer or the preview.
class PrintPanel : public QWidget {
    Q_OBJECT
public:
    using Choice = PrintSelection::Kind;
    static constexpr Choice Single = PrintSelection::Single;
    static constexpr Choice All = PrintSelection::All;
    static constexpr Choice Range = PrintSelection::Range;

    explicit PrintPanel(QWidget* parent);

    // Entering the panel: the current key shown and as the lower bound, an
    // upper bound after every key of `keyLength` characters.
    void open(const QString& currentKey, int keyLength);

    Choice choice() const;
    void choose(Choice choice);
    // The choice with the key shown and the range, all trimmed.
    PrintSelection selection() const;
    // Longest text a range box takes.
    void setRangeLength(int length);

Q_SIGNALS:
    void printRequested(bool preview);
    void backRequested();

private:
    QButtonGroup* m_options = nullptr;
    QLabel* m_single = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
};
