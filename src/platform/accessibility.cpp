#include "accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>

#include "captions.h"

namespace platform::accessibility {
namespace {

// Marks a name this module gave, so that it follows its caption and never
// overrides a name a window chose.
constexpr char kNomeDado[] = "zentoraNomeDado";
constexpr char kDescricaoDada[] = "zentoraDescricaoDada";

// The text a control shows as its own caption, or the one of the label
// whose buddy it is.
QString legenda(const QWidget* w) {
    if (const auto* rotulo = qobject_cast<const QLabel*>(w)) return rotulo->text();
    if (const auto* botao = qobject_cast<const QAbstractButton*>(w)) return botao->text();
    if (const auto* grupo = qobject_cast<const QGroupBox*>(w)) return grupo->title();
    if (const QWidget* pai = w->parentWidget())
        for (const QObject* filho : pai->children())
            if (const auto* rotulo = qobject_cast<const QLabel*>(filho); rotulo && rotulo->buddy() == w)
                return rotulo->text();
    return {};
}

// The name this module gives `w`; empty where Qt's own reads right.
QString nomeDevido(const QWidget* w) {
    const QString texto = legenda(w);
    if (texto.contains(QLatin1Char('\r'))) return spoken(texto);
    if (texto.isEmpty() && qobject_cast<const QAbstractButton*>(w)) return w->toolTip();
    return {};
}

void nomeia(QWidget* w) {
    const bool dado = w->property(kNomeDado).toBool();
    if (!dado && !w->accessibleName().isEmpty()) return;  // chosen by its window
    const QString nome = nomeDevido(w);
    if (nome == w->accessibleName()) return;
    w->setAccessibleName(nome);
    w->setProperty(kNomeDado, !nome.isEmpty());
}

QString nomeDoIcone(QMessageBox::Icon icone) {
    switch (icone) {
        case QMessageBox::Information:
            return QStringLiteral("Informação");
        case QMessageBox::Warning:
            return QStringLiteral("Aviso");
        case QMessageBox::Critical:
            return QStringLiteral("Erro");
        case QMessageBox::Question:
            return QStringLiteral("Pergunta");
        case QMessageBox::NoIcon:
            break;
    }
    return {};
}

// A box reads its text as its description, and its icon by what it means.
void descreveCaixa(QMessageBox* caixa) {
    if (caixa->accessibleDescription().isEmpty() || caixa->property(kDescricaoDada).toBool()) {
        caixa->setAccessibleDescription(spoken(caixa->text()));
        caixa->setProperty(kDescricaoDada, true);
    }
    for (QLabel* rotulo : caixa->findChildren<QLabel*>())
        if (rotulo->text().isEmpty() && !rotulo->pixmap().isNull() && rotulo->accessibleName().isEmpty())
            rotulo->setAccessibleName(nomeDoIcone(caixa->icon()));
}

void atende(QWidget* w) {
    if (auto* caixa = qobject_cast<QMessageBox*>(w)) descreveCaixa(caixa);
    nomeia(w);
}

// Keeps the names while accessibility is active: captions change on screen
// (a countdown on a button, a label set by its window), and every change is
// painted, or shown when its window next appears.
class Vigia : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* objeto, QEvent* evento) override {
        const QEvent::Type tipo = evento->type();
        if ((tipo == QEvent::Show || tipo == QEvent::Paint) && objeto->isWidgetType())
            atende(static_cast<QWidget*>(objeto));
        return false;
    }
};

// The watcher while accessibility is active, none otherwise.
QPointer<Vigia> vigia;

class Observador : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool ativa) override {
        if (!ativa) {
            delete vigia;
            return;
        }
        if (vigia || !qApp) return;
        vigia = new Vigia(qApp);
        qApp->installEventFilter(vigia);
        for (QWidget* w : QApplication::allWidgets()) atende(w);
    }
};

}  // namespace

void installOn(QWidget* window) {
    if (!vigia) return;
    atende(window);
    for (QWidget* w : window->findChildren<QWidget*>()) atende(w);
}

QString spoken(const QString& caption) { return captions::shown(caption); }

void setLit(QWidget* light, bool lit) {
    const QString estado = lit ? QStringLiteral("Aceso") : QStringLiteral("Apagado");
    // Every change is announced to the reader: only a real one is made.
    auto descreve = [&estado](QWidget* w) {
        if (w->accessibleDescription() != estado) w->setAccessibleDescription(estado);
    };
    descreve(light);
    for (QLabel* rotulo : light->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        descreve(rotulo);
        if (light->accessibleName().isEmpty()) light->setAccessibleName(spoken(rotulo->text()));
    }
}

void install() {
    static Observador observador;
    static bool instalado = false;
    if (instalado) return;
    instalado = true;
    QAccessible::installActivationObserver(&observador);
    if (QAccessible::isActive()) observador.accessibilityActiveChanged(true);
}

}  // namespace platform::accessibility
