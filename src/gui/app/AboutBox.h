#pragma once

#include <QDialog>

// 關於本系統: the version and the legal notice.
// No Q_OBJECT: moc cannot read the Chinese class name, and lambdas serve as slots.
class frm關於系統 : public QDialog {
public:
    explicit frm關於系統(QWidget* parent = nullptr);

    static QString LegalNotice();
};
