#pragma once

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
    enum Choice { Single = 0, All = 1, Range = 2 };

    explicit PrintPanel(QWidget* parent);

    // Entering the panel: the current key shown and as the lower bound, an
    // upper bound after every key of `keyLength` characters.
    void open(const QString& currentKey, int keyLength);

    Choice choice() const;
    void choose(Choice choice);
    QString rangeFrom() const;
    QString rangeTo() const;
    // Until a screen's printing is built, its buttons stay off with a reason.
    void setPrintingAvailable(bool available, const QString& reason = {});

Q_SIGNALS:
    void printRequested(bool preview);
    void backRequested();

private:
    QButtonGroup* m_options = nullptr;
    QLabel* m_single = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_preview = nullptr;
};
