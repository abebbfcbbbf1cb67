#include "leitor.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>

namespace {

QAccessibleInterface* interface(QObject* objeto) { return QAccessible::queryAccessibleInterface(objeto); }

// Roles a reader announces as something to read or operate.  Panes, frames
// and group boxes only hold them.
bool ehControle(QAccessible::Role papel) {
    switch (papel) {
        case QAccessible::Button:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::Table:
        case QAccessible::List:
        case QAccessible::Tree:
        case QAccessible::ProgressBar:
        case QAccessible::Slider:
        case QAccessible::SpinBox:
        case QAccessible::Dial:
        case QAccessible::StaticText:
        case QAccessible::Graphic:
        case QAccessible::PageTab:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::Link:
            return true;
        default:
            return false;
    }
}

// Controls whose parts (cells, items, scroll bars, the edit's viewport) the
// reader reaches through the control itself.
bool ehFolha(QAccessible::Role papel) {
    return papel == QAccessible::ComboBox || papel == QAccessible::EditableText || papel == QAccessible::Table ||
           papel == QAccessible::List || papel == QAccessible::Tree;
}

// A label that shows nothing is read as nothing, as the eye sees it.
bool vazio(QObject* objeto) {
    const auto* rotulo = qobject_cast<QLabel*>(objeto);
    return rotulo && rotulo->text().isEmpty() && rotulo->pixmap().isNull() && !rotulo->movie();
}

QString problema(QAccessibleInterface* i) {
    const QString texto = i->text(QAccessible::Name);
    if (texto.trimmed().isEmpty()) return QStringLiteral("no name");
    for (const QChar c : texto)
        if (c.category() == QChar::Other_Control && c != QLatin1Char('\n'))
            return QStringLiteral("control character %1 in \"%2\"").arg(c.unicode()).arg(texto);
    if (i->object() && texto == i->object()->objectName()) return QStringLiteral("named after its objectName");
    return {};
}

QString rotuloDoObjeto(QAccessibleInterface* i) {
    QObject* o = i->object();
    const QString nomeObjeto = o ? o->objectName() : QString();
    return (o ? QString::fromLatin1(o->metaObject()->className()) : QStringLiteral("?")) +
           (nomeObjeto.isEmpty() ? QString() : QLatin1Char(' ') + nomeObjeto);
}

void percorre(QAccessibleInterface* i, const QString& caminho, QStringList& faltas) {
    for (int c = 0; c < i->childCount(); ++c) {
        QAccessibleInterface* filho = i->child(c);
        if (!filho) continue;
        const QString aqui = caminho + QStringLiteral(" > ") + rotuloDoObjeto(filho);
        if (ehControle(filho->role()) && !vazio(filho->object()))
            if (const QString p = problema(filho); !p.isEmpty()) faltas << aqui + QStringLiteral(": ") + p;
        if (!ehFolha(filho->role())) percorre(filho, aqui, faltas);
    }
}

}  // namespace

QString nome(QObject* objeto) { return interface(objeto)->text(QAccessible::Name); }
QString descricao(QObject* objeto) { return interface(objeto)->text(QAccessible::Description); }

QList<QWidget*> janelasDoPrograma() {
    QList<QWidget*> janelas;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType tipo = w->windowType();
        // Menus and the drop-down lists of combo boxes are read through the
        // button or combo box that opens them.
        const bool propria =
            tipo == Qt::Window || tipo == Qt::Dialog ||
            (tipo == Qt::Popup && !qobject_cast<QMenu*>(w) && !w->inherits("QComboBoxPrivateContainer"));
        if (propria) janelas << w;
    }
    return janelas;
}

QStringList controlesSemNome(QWidget* janela) {
    QAccessibleInterface* i = interface(janela);
    const QString caminho = rotuloDoObjeto(i);
    QStringList faltas;
    if (const QString p = problema(i); !p.isEmpty()) faltas << caminho + QStringLiteral(": ") + p;
    if (!ehFolha(i->role())) percorre(i, caminho, faltas);
    return faltas;
}
