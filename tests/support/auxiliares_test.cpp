// Finding a window's controls by objectName: a control that is missing, or
// of another class than the test expects, fails the test and names it.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "auxiliares.h"

namespace {

QWidget* janela = nullptr;  // EXPECT_NONFATAL_FAILURE reaches no locals

TEST(Controle, FindsAControlByNameAndFailsNamingOneNotThere) {
    QWidget w;
    auto* ok = new QPushButton(&w);
    ok->setObjectName(QStringLiteral("BtOk"));
    auto* grupo = new QWidget(&w);
    auto* legenda = new QLabel(grupo);
    legenda->setObjectName(QStringLiteral("LbLegenda"));
    janela = &w;

    EXPECT_EQ(controle<QPushButton>(janela, "BtOk"), ok);
    EXPECT_EQ(controle<QAbstractButton>(janela, "BtOk"), ok);
    EXPECT_EQ(controle<QLabel>(janela, "LbLegenda"), legenda);  // below a group
    EXPECT_NONFATAL_FAILURE(controle<QPushButton>(janela, "BtNenhum"), "no QPushButton named BtNenhum in QWidget");
    EXPECT_NONFATAL_FAILURE(controle<QLabel>(janela, "BtOk"), "no QLabel named BtOk in QWidget (it is a QPushButton)");
    EXPECT_NONFATAL_FAILURE(controle<QLabel>(nullptr, "BtOk"), "no QLabel named BtOk (no window to look in)");
    janela = nullptr;
}

}  // namespace
