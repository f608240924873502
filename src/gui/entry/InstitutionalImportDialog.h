#pragma once

#include "core/entry/InstitutionalTrades.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

// 匯入買賣超: chooses the basis and the length of the lists, and shows both
// proposed lists with names and net lots before anything changes.
class InstitutionalImportDialog : public QDialog {
    Q_OBJECT
public:
    // `knownCodes`: the stock master's codes, upper case, to count the new ones.
    InstitutionalImportDialog(InstitutionalDay day, QHash<QString, QString> knownCodes, QWidget* parent = nullptr);

    const RankedLists& lists() const { return m_lists; }
    bool addMissingCodes() const;
    // The listed stocks the master lacks, with the names from the file.
    QVector<RankedStock> missingStocks() const;

    void accept() override;

private:
    void rank();

    InstitutionalDay m_day;
    QHash<QString, QString> m_known;
    RankedLists m_lists;
    QComboBox* m_basis;
    QSpinBox* m_length;
    QTableWidget* m_tables[2];
    QCheckBox* m_sharesOnly;
    QLabel* m_note;
    QCheckBox* m_addMissing;
    QPushButton* m_ok;
};
