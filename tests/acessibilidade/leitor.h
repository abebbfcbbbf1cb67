// What a screen reader finds on the program's windows, through Qt's
// accessibility interface.
#pragma once

#include <QAccessible>
#include <QString>
#include <QStringList>

class QObject;
class QWidget;

// Accessibility on for as long as it lives, as when a screen reader attaches.
class LeitorDeTela {
public:
    LeitorDeTela() { QAccessible::setActive(true); }
    ~LeitorDeTela() { QAccessible::setActive(false); }
    LeitorDeTela(const LeitorDeTela&) = delete;
    LeitorDeTela& operator=(const LeitorDeTela&) = delete;
};

QString nome(QObject* objeto);
QString descricao(QObject* objeto);

// The windows of the program (main, function and status windows, dialogs
// and the program's own pop-ups such as calendars), shown or hidden.
QList<QWidget*> janelasDoPrograma();

// Every control in `janela`, visible or hidden, whose name a screen reader
// could not read: empty, with control characters, the bare objectName, or
// without a caption of its own and named as a control beside it.  One
// "path: problem" line each.
QStringList controlesSemNome(QWidget* janela);
