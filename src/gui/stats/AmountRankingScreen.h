#pragma once

#include "gui/stats/StatScreenFrame.h"

class QComboBox;
class QLineEdit;

// 法人累計買賣超排行: each stock's institutional net summed over the last N
// dates up to a base date, the largest buys and sells ranked.
// No Q_OBJECT: moc cannot read the Chinese class name.
class frm法人累計買賣超排行 : public StatScreenFrame {
public:
    frm法人累計買賣超排行();
    void run(bool preview) override;

protected:
    void setDefaultDates() override;
    QLineEdit* firstDateBox() const override { return m_base; }

private:
    QLineEdit* numberBox(const QString& objectName, const QString& caption, int row, const QString& unit);
    bool checkCount(QLineEdit* box, const QString& what, int* value);

    QLineEdit* m_base = nullptr;
    QLineEdit* m_days = nullptr;
    QComboBox* m_basis = nullptr;
    QLineEdit* m_top = nullptr;
};
