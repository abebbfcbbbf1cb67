#include "previa.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace UConfig {

QPixmap PreviaDaInterface(const QString& nome, const QString& folhaDeEstilo, QSize tamanho, qreal escala) {
    // A window of its own, never shown: the skins style the program's
    // windows and dialogs by class, and a dialog takes their window look.
    QDialog amostra;
    amostra.setAttribute(Qt::WA_DontShowOnScreen);
    amostra.setFixedSize(tamanho);
    QFont fonte = amostra.font();
    fonte.setPointSizeF(6.5);
    amostra.setFont(fonte);

    const int w = tamanho.width();
    const int h = tamanho.height();
    auto* titulo = new QLabel(nome, &amostra);
    QFont negrito = fonte;
    negrito.setBold(true);
    titulo->setFont(negrito);
    titulo->setAlignment(Qt::AlignCenter);
    titulo->setGeometry(0, 0, w, 14);

    auto* grupo = new QGroupBox(&amostra);
    grupo->setGeometry(3, 14, w - 6, h - 36);
    auto* marca = new QCheckBox(grupo);
    marca->setChecked(true);
    marca->setGeometry(4, 4, 18, 16);
    auto* opcao = new QRadioButton(grupo);
    opcao->setChecked(true);
    opcao->setGeometry(24, 4, 18, 16);
    auto* edicao = new QLineEdit(QStringLiteral("123"), grupo);
    edicao->setGeometry(44, 3, grupo->width() - 48, 18);
    auto* barra = new QProgressBar(grupo);
    barra->setRange(0, 100);
    barra->setValue(60);
    barra->setTextVisible(false);
    barra->setGeometry(4, 24, grupo->width() - 8, 8);

    auto* ok = new QPushButton(QStringLiteral("OK"), &amostra);
    ok->setGeometry(3, h - 20, w / 2 - 5, 18);
    auto* inativo = new QPushButton(QStringLiteral("—"), &amostra);
    inativo->setEnabled(false);
    inativo->setGeometry(w / 2 + 2, h - 20, w / 2 - 5, 18);

    amostra.setStyleSheet(folhaDeEstilo);
    amostra.ensurePolished();

    QPixmap imagem(tamanho * escala);
    imagem.setDevicePixelRatio(escala);
    imagem.fill(Qt::transparent);
    amostra.render(&imagem);
    return imagem;
}

}  // namespace UConfig
