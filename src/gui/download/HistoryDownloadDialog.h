#pragma once

#include <QDate>
#include <QDialog>
#include <QVector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class PoliteFetcher;
struct DownloadSettings;

// 下載歷史資料: every weekday of a date range that the data file lacks,
// downloaded and stored a day at a time, as the scheduled run stores them.
// Pause and cancel take effect between requests; a range stopped (or a
// program closed) resumes where it was, since stored days and kept files
// are not fetched again.
class HistoryDownloadDialog : public QDialog {
public:
    explicit HistoryDownloadDialog(QWidget* parent = nullptr);

    void Start();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // Fetches `days`, the weekdays of from..to still missing.
    void run(const QDate& from, const QDate& to, const QVector<QDate>& days, const DownloadSettings& settings);
    // Between two days: waits while paused; false once cancelled.
    bool goOn();
    void setRunning(bool running);
    void log(const QString& line);

    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QComboBox* m_basis = nullptr;
    QSpinBox* m_top = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_step = nullptr;
    QLabel* m_left = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_pause = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_leave = nullptr;
    PoliteFetcher* m_fetcher = nullptr;
    bool m_running = false;
    bool m_paused = false;
    bool m_cancelled = false;
};
