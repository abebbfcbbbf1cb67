// What a person reads in each of the eight skins, grabbed offscreen: every
// caption of the fiscal configuration grids whole at its column's width, the
// command manager's boxes drawn checked when they are (disabled ones too)
// with a tick, the paper note of the fiscal reports in two lines, and the
// date edit's calendar with its last week and Portuguese month names.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <string>
#include <vector>

#include "auxiliares.h"
#include "fiscalconfig/tfconfigecf.h"
#include "manager/tfgerenciador.h"
#include "printer/editdata.h"
#include "printer/ustatus.h"
#include "reports/tfrelfiscais.h"
#include "settings/tfconfiggeral.h"
#include "tela.h"

namespace {

class Aparencia : public Instalacao, public ::testing::WithParamInterface<std::string> {
protected:
    // The skin chosen in the settings file, the program started with it and
    // the printer located.
    void SetUp() override {
        Instalacao::SetUp();
        if (HasFatalFailure()) return;
        gravaIni(QStringLiteral("Zentora3"), QStringLiteral("Interface"), QString::fromStdString(GetParam()));
        criaImpressora();
        if (HasFatalFailure()) return;
        criaJanelas();
        uZentora3::Fprincipal->BtLocalizarImpressoraClick();
        caixas();
        ASSERT_EQ(UStatus::sInterface.toStdString(), GetParam());
    }
};

TEST_P(Aparencia, OsTitulosDasGradesCabemInteirosNasLargurasDasColunas) {
    QWidget* janela = UConfigFiscais::FConfigECF.get();
    for (const char* nome : {"SgFormaPagamento", "SgAliquotas", "SgCNF", "SgRelGerencial"}) {
        auto* grade = controle<QTableWidget>(janela, nome);
        ASSERT_NE(grade, nullptr);
        QHeaderView* cabecalho = grade->horizontalHeader();
        for (int coluna = 0; coluna < grade->columnCount(); ++coluna) {
            const QString titulo = grade->horizontalHeaderItem(coluna)->text();
            SCOPED_TRACE(std::string(nome) + " " + titulo.toStdString());
            const LegendaDesenhada dada = tituloDesenhado(grade, coluna);
            ASSERT_GT(dada.pontos, 0);
            const int inicio = cabecalho->sectionViewportPosition(coluna);
            const int fim = inicio + cabecalho->sectionSize(coluna);
            EXPECT_GT(dada.area.left(), inicio);
            EXPECT_LT(dada.area.right(), fim - 1);

            // The same caption in a column wide enough for anything.
            const QSize tamanho = grade->size();
            const int largura = grade->columnWidth(coluna);
            grade->resize(tamanho.width() + 400, tamanho.height());
            grade->setColumnWidth(coluna, largura + 200);
            const LegendaDesenhada inteira = tituloDesenhado(grade, coluna);
            grade->setColumnWidth(coluna, largura);
            grade->resize(tamanho);
            EXPECT_EQ(dada.area.width(), inteira.area.width());
            EXPECT_EQ(dada.pontos, inteira.pontos);
        }
    }
}

TEST_P(Aparencia, AsCaixasDoGerenciadorMostramSeEstaoMarcadasComUmVisto) {
    QWidget* gerenciador = UGerenciador::FGerenciador;
    // The four functions always offered (disabled, checked) and one of choice.
    for (const char* nome : {"CbConfigECF", "CbRelFiscais", "CbCmdAdicionais", "CbMFMFD", "CbLeituraX"}) {
        SCOPED_TRACE(nome);
        auto* caixa = controle<QCheckBox>(gerenciador, nome);
        ASSERT_NE(caixa, nullptr);
        ASSERT_TRUE(caixa->isChecked());
        EXPECT_EQ(caixa->isEnabled(), nome == std::string("CbLeituraX"));
        const QImage marcada = caixa->grab().toImage();
        caixa->setChecked(false);
        const QImage desmarcada = caixa->grab().toImage();
        caixa->setChecked(true);
        EXPECT_GE(diferenca(marcada, desmarcada).pontos, 20);

        // A tick, not a dot: the mark does not look the same upside down.
        QStyleOptionButton opcao;
        opcao.initFrom(caixa);
        const QRect indicador = caixa->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opcao, caixa);
        ASSERT_FALSE(indicador.isEmpty());
        const QImage marca = marcada.copy(indicador);
        EXPECT_NE(marca, marca.mirrored(true, true));
    }
}

TEST_P(Aparencia, ANotaDoPapelCabeEmDuasLinhas) {
    auto* nota = controle<QLabel>(URelFiscais::FRelFiscais.get(), "sLabel1");
    ASSERT_NE(nota, nullptr);
    const LegendaDesenhada desenhada = legendaDesenhada(nota);
    EXPECT_EQ(desenhada.linhas, 2);
    EXPECT_LT(desenhada.area.right(), nota->width() - 1);
}

TEST_P(Aparencia, OCalendarioMostraTodasAsSemanasComOsMesesEmPortugues) {
    auto* edicao = controle<EditData>(URelFiscais::FRelFiscais.get(), "EdMfDataInicial");
    ASSERT_NE(edicao, nullptr);
    edicao->setText(QStringLiteral("10/12/26"));
    edicao->abreCalendario();
    QCalendarWidget* calendario = edicao->calendario();
    ASSERT_TRUE(calendario->isVisible());
    auto* dias = calendario->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    ASSERT_NE(dias, nullptr);
    const int ultima = dias->model()->rowCount() - 1;
    EXPECT_LE(dias->rowViewportPosition(ultima) + dias->rowHeight(ultima), dias->viewport()->height());
    const int coluna = dias->model()->columnCount() - 1;
    EXPECT_LE(dias->columnViewportPosition(coluna) + dias->columnWidth(coluna), dias->viewport()->width());

    auto* mes = calendario->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(mes, nullptr);
    EXPECT_EQ(mes->text(), QStringLiteral("dezembro"));
    QStringList semana;  // the first row holds the names of the days
    for (int c = 0; c < dias->model()->columnCount(); ++c)
        semana << dias->model()->data(dias->model()->index(0, c)).toString();
    EXPECT_TRUE(semana.contains(QStringLiteral("seg."))) << semana.join(' ').toStdString();
    calendario->hide();
}

std::vector<std::string> interfaces() {
    std::vector<std::string> nomes;
    for (const QString& nome : UConfig::Interfaces()) nomes.push_back(nome.toStdString());
    return nomes;
}

INSTANTIATE_TEST_SUITE_P(Interfaces, Aparencia, ::testing::ValuesIn(interfaces()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
