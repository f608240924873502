#pragma once

#include <QIcon>
#include <QKeyCombination>
#include <QList>
#include <QString>
#include <QStyle>

// The twelve keys of a record screen's toolbar, in their order, each with
// everything the screen knows of it.
struct RecordToolKey {
    QString key;       // what the screen dispatches on
    QString caption;
    QString tooltip;
    bool showsMode;    // shown pressed while its mode is on
    bool needsRecord;  // enabled only while a record is shown; its shortcut only then
    // A shortcut with modifiers takes exactly them; one without takes any.
    QKeyCombination shortcut;
    QStyle::StandardPixmap icon;   // SP_CustomBase: the printer
};

const QList<RecordToolKey>& RecordToolKeys();
QIcon RecordToolIcon(const RecordToolKey& key);
