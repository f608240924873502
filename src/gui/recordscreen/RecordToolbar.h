#pragma once

#include <QIcon>
#include <QList>
#include <QString>

// The twelve keys of a record screen's toolbar, in their order.
struct RecordToolKey {
    QString key;       // what the screen dispatches on
    QString caption;
    QString tooltip;
    bool showsMode;    // shown pressed while its mode is on
};

const QList<RecordToolKey>& RecordToolKeys();
QIcon RecordToolIcon(const QString& key);
