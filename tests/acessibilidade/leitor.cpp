#include "leitor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMap>
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

// A button, check box, radio or label that shows its own caption.
bool temLegenda(QObject* objeto) {
    if (const auto* botao = qobject_cast<QAbstractButton*>(objeto)) return !botao->text().isEmpty();
    return qobject_cast<QLabel*>(objeto) != nullptr;
}

void percorre(QAccessibleInterface* i, const QString& caminho, QStringList& faltas) {
    // Controls without a caption of their own, by role and name: two side
    // by side with one name (two "Data" edits, three radios named after
    // their group) cannot be told apart.
    QMap<std::pair<int, QString>, int> semLegenda;
    for (int c = 0; c < i->childCount(); ++c) {
        QAccessibleInterface* filho = i->child(c);
        if (!filho) continue;
        const QString aqui = caminho + QStringLiteral(" > ") + rotuloDoObjeto(filho);
        if (ehControle(filho->role()) && !vazio(filho->object())) {
            QString p = problema(filho);
            if (p.isEmpty() && !temLegenda(filho->object()) &&
                semLegenda[{int(filho->role()), filho->text(QAccessible::Name)}]++ > 0)
                p = QStringLiteral("same name as a control beside it: \"%1\"").arg(filho->text(QAccessible::Name));
            if (!p.isEmpty()) faltas << aqui + QStringLiteral(": ") + p;
        }
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
