// The fiscal reports window against the virtual printer: Reading X in its
// three modes, the gate and the Reduction Z.
#include <algorithm>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <optional>
#include <utility>

#include "commands/tfcomandosadicionais.h"
#include "core/datahora.h"
#include "disco_cheio.h"
#include "impressao.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "platform/clock.h"
#include "platform/cp1252.h"
#include "printer/buffer.h"
#include "printer/nomes.h"
#include "printer/ustatus.h"
#include "relfiscais.h"
#include "reports/tfrelfiscais.h"
#include "tela.h"

namespace {

const QString kTituloX = QStringLiteral("LEITURA \"X\"");
const QString kPerguntaVisualizar =
    QStringLiteral("Arquivo Gerado com Sucesso na Pasta Relatórios\rDeseja Visualizar o Arquivo?");
const QString kTituloEmissaoZ = QStringLiteral("EMISSÃO DA REDUÇÃO \"Z\"");

TEST_F(RelFiscais, JanelaComSeusControlesNoEstadoInicial) {
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Zentora 3.0 - Impressoras Fiscais Kestrona - Exclusivo Para Térmicas"));
    EXPECT_EQ(janela->size(), QSize(792, 450));
    EXPECT_EQ(janela->minimumSize(), janela->maximumSize());
    EXPECT_EQ(janela->pos(), uZentora3::Fprincipal->pos());

    QPlainTextEdit* m = memo();
    EXPECT_EQ(m->font().family(), QStringLiteral("Courier New"));
    EXPECT_TRUE(m->font().bold());
    EXPECT_FALSE(m->isReadOnly());
    EXPECT_EQ(m->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(m->toPlainText().isEmpty());

    EXPECT_TRUE(controle<QRadioButton>("RbImprimirX")->isChecked());
    EXPECT_FALSE(controle<QRadioButton>("RbVisualizarX")->isChecked());
    EXPECT_FALSE(controle<QRadioButton>("RbSalvarX")->isChecked());
    EXPECT_FALSE(controle<QCheckBox>("CbAjustaHora")->isChecked());
    EXPECT_FALSE(controle<QCheckBox>("CbHorarioVeraoZ")->isChecked());
    EXPECT_FALSE(controle<QCheckBox>("CbHabilitaZ")->isChecked());
    EXPECT_FALSE(controle<QPushButton>("BtReducaoZ")->isEnabled());
    EXPECT_TRUE(controle<QPushButton>("BtLeituraX")->isEnabled());
    EXPECT_EQ(controle<QLabel>("LbMsgZ")->text(),
              QStringLiteral("Marque a Caixa e Leia\r\no Texto Antes de\r\nHabilitar o Botão"));
    EXPECT_EQ(controle<QLabel>("sLabel1")->text(),
              QStringLiteral("Utilize Papel Homologado pelo Ato Cotepe ICMS Nº 7, de 16 de Março de 2011\r\n"
                             "Papel Termoscript KPR 55"));
    // The location has already written the daylight-saving state here.
    EXPECT_TRUE(controle<QCheckBox>("CbHorarioVeraoZ")
                    ->text()
                    .startsWith(QStringLiteral("Ajustar Horário de Verão Após a Redução(Atualmente ")));
}

TEST_F(RelFiscais, ImprimirLimpaOTextoEMostraARespostaComOBotaoEmEspera) {
    memo()->setPlainText(QStringLiteral("leitura anterior"));
    QString legendaDuranteResposta;
    dialogos.whileOpen([&](const Record& r) {
        if (r.title == QLatin1String("RESPOSTA DO ECF"))
            legendaDuranteResposta = controle<QPushButton>("BtLeituraX")->text();
    });
    leituraX("RbImprimirX");

    EXPECT_EQ(chamadas("LeituraX"), 1);
    EXPECT_EQ(chamadas("LeituraXSerial"), 0);
    EXPECT_EQ(UStatus::iRetorno, 1);
    EXPECT_TRUE(memo()->toPlainText().isEmpty());
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Imprimindo Leitura X"));
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u) << todas(vistas);
    EXPECT_EQ(vistas[0].title, QStringLiteral("RESPOSTA DO ECF"));
    EXPECT_EQ(legendaDuranteResposta, QStringLiteral("Aguarde !!!"));
    EXPECT_EQ(controle<QPushButton>("BtLeituraX")->text(), QStringLiteral("Emitir Leitura X"));
    EXPECT_TRUE(relatorios().isEmpty());
}

TEST_F(RelFiscais, VisualizarMostraACapturaComTituloNaPrimeiraLinha) {
    memo()->setPlainText(QStringLiteral("leitura anterior"));
    leituraX("RbVisualizarX");

    EXPECT_EQ(chamadas("LeituraXSerial"), 1);
    EXPECT_EQ(UStatus::iRetorno, 1);
    const auto linhas = URelFiscais::leLinhas(URelFiscais::arquivoCaptura());
    ASSERT_TRUE(linhas);
    EXPECT_TRUE(linhas->join(QLatin1Char('\n')).contains(QStringLiteral("LEITURA X")));
    EXPECT_EQ(memo()->toPlainText(), (QStringList{QStringLiteral("Leitura X pela Serial")} + *linhas).join('\n'));
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].title, QStringLiteral("RESPOSTA DO ECF"));
    EXPECT_TRUE(relatorios().isEmpty());
}

TEST_F(RelFiscais, SalvarCopiaACapturaComNomeDaSerieEDoMomentoEAbreNoVisualizador) {
    platform::clock::set(QDateTime(QDate(2012, 2, 3), QTime(14, 5, 9)));
    dialogos.yes();
    leituraX("RbSalvarX");

    const QString nome = printer::nomeDeArquivo(UStatus::sNumeroSerie) + QStringLiteral("_03022012_140509_LX.txt");
    EXPECT_EQ(UStatus::sNomeArquivo + QStringLiteral("_LX.txt"), nome);
    EXPECT_EQ(relatorios(), QStringList{nome});
    // The reading has accented letters: the copy is UTF-8, the capture not.
    const QByteArray captura = conteudo(QStringLiteral("Retorno.txt"));
    ASSERT_TRUE(std::any_of(captura.begin(), captura.end(), [](char c) { return c & 0x80; }));
    EXPECT_NE(conteudo(QStringLiteral("Relatorios/") + nome), captura);
    EXPECT_EQ(conteudo(QStringLiteral("Relatorios/") + nome), capturaEmUtf8());

    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].title, QStringLiteral("RESPOSTA DO ECF"));
    EXPECT_EQ(vistas[1].kind, Kind::Question);
    EXPECT_EQ(vistas[1].title, kTituloX);
    EXPECT_EQ(vistas[1].text, kPerguntaVisualizar);
    EXPECT_FALSE(vistas[1].defaultNo);  // opening a file harms nothing
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target, arquivo(QStringLiteral("Relatorios/") + nome));
}

TEST_F(RelFiscais, DuasLeiturasSalvasNoMesmoSegundoFicamNumArquivoSo) {
    platform::clock::set(QDateTime(QDate(2012, 2, 3), QTime(14, 5, 9)));
    dialogos.no().no();
    leituraX("RbSalvarX");
    const QByteArray primeira = capturaEmUtf8();
    leituraX("RbSalvarX");
    const QByteArray segunda = capturaEmUtf8();

    ASSERT_NE(primeira, segunda);  // each reading is a new document
    const QStringList arquivos = relatorios();
    ASSERT_EQ(arquivos.size(), 1);
    EXPECT_EQ(conteudo(QStringLiteral("Relatorios/") + arquivos[0]), segunda);
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(RelFiscais, SemNumeroDeSerieOsNomesComecamPorSublinhado) {
    UStatus::sNumeroSerie.clear();
    platform::clock::set(QDateTime(QDate(2012, 2, 3), QTime(14, 5, 9)));
    dialogos.no();
    leituraX("RbSalvarX");
    EXPECT_EQ(UStatus::sNomeArquivo, QStringLiteral("_03022012_140509"));
    EXPECT_EQ(relatorios(), QStringList{QStringLiteral("_03022012_140509_LX.txt")});
}

TEST_F(RelFiscais, CopiaQueFalhaMostraOArquivoENaoPerguntaNada) {
    ASSERT_TRUE(QDir(arquivo(QStringLiteral("Relatorios"))).removeRecursively());
    leituraX("RbSalvarX");

    EXPECT_EQ(UStatus::iRetorno, 1);
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].title, QStringLiteral("RESPOSTA DO ECF"));
    EXPECT_EQ(vistas[1].kind, Kind::Error) << descreve(vistas[1]);
    EXPECT_EQ(vistas[1].title, kTituloX);
    EXPECT_TRUE(vistas[1].text.contains(arquivo(QStringLiteral("Relatorios/")) + UStatus::sNomeArquivo + "_LX.txt"))
        << descreve(vistas[1]);
    EXPECT_FALSE(vistas[1].text.contains(QStringLiteral("Sucesso")));
    // Nothing asked: a question, which nobody answers here, would fail the test.
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_FALSE(QDir(arquivo(QStringLiteral("Relatorios"))).exists());
}

// A disk that fills up while the reading is saved: an error naming the
// file and no question; no file is made, and a reading saved before under
// that name stays whole.
TEST_F(RelFiscais, DiscoCheioNaoDaSucessoENaoEstragaALeituraQueHavia) {
    platform::clock::set(QDateTime(QDate(2012, 2, 3), QTime(14, 5, 9)));
    std::optional<DiscoCheio> cheio;
    const auto leComDiscoCheio = [&] {
        dialogos.whileOpen([&](const Record& r) {
            if (r.title == QLatin1String("RESPOSTA DO ECF"))
                cheio.emplace(64);
            else
                cheio.reset();
        });
        leituraX("RbSalvarX");
        dialogos.whileOpen({});
        const auto vistas = caixas();
        ASSERT_EQ(vistas.size(), 2u) << todas(vistas);
        EXPECT_EQ(vistas[1].kind, Kind::Error) << descreve(vistas[1]);
        EXPECT_EQ(vistas[1].title, kTituloX);
        EXPECT_TRUE(vistas[1].text.contains(arquivo(QStringLiteral("Relatorios/")) + UStatus::sNomeArquivo + "_LX.txt"))
            << descreve(vistas[1]);
    };
    const auto arquivos = [&] {
        return QDir(arquivo(QStringLiteral("Relatorios"))).entryList(QDir::Files | QDir::Hidden);
    };
    leComDiscoCheio();
    EXPECT_EQ(arquivos(), QStringList());

    dialogos.no();
    leituraX("RbSalvarX");
    caixas();
    const QString nome = QStringLiteral("Relatorios/") + UStatus::sNomeArquivo + QStringLiteral("_LX.txt");
    const QByteArray salva = conteudo(nome);
    ASSERT_GT(salva.size(), 64);
    leComDiscoCheio();
    EXPECT_EQ(conteudo(nome), salva);
    EXPECT_EQ(arquivos().size(), 1);
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(RelFiscais, ImpressoraQueRecusaOuDesligadaEmCadaModo) {
    const auto recusa = [] { KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 63); };
    const auto desliga = [] { KesafiVirtual_Liga(0); };
    const std::pair<const char*, std::function<void()>> falhas[] = {{"recusa", recusa}, {"desligada", desliga}};
    for (const auto& [caso, falha] : falhas) {
        SCOPED_TRACE(caso);
        KesafiVirtual_Liga(1);

        // Print: the failure is reported, the text box stays empty.
        memo()->setPlainText(QStringLiteral("antes"));
        falha();
        leituraX("RbImprimirX");
        EXPECT_LT(UStatus::iRetorno, 1);
        auto vistas = caixas();
        EXPECT_TRUE(mostrou(vistas, Kind::Information, QStringLiteral("RETORNO DO ECF")));
        EXPECT_TRUE(mostrou(vistas, Kind::Information, QStringLiteral("RESPOSTA DO ECF")));
        EXPECT_TRUE(memo()->toPlainText().isEmpty());
        EXPECT_EQ(controle<QPushButton>("BtLeituraX")->text(), QStringLiteral("Emitir Leitura X"));

        // Save: nothing copied, nothing asked.
        falha();
        leituraX("RbSalvarX");
        EXPECT_LT(UStatus::iRetorno, 1);
        vistas = caixas();
        EXPECT_TRUE(mostrou(vistas, Kind::Information, QStringLiteral("RESPOSTA DO ECF")));
        EXPECT_FALSE(mostrou(vistas, Kind::Question, kTituloX));
        EXPECT_FALSE(mostrou(vistas, Kind::Error, kTituloX));
        EXPECT_TRUE(relatorios().isEmpty());

        // View: an earlier reading's capture is never shown as this one's.
        gravaCaptura("LEITURA ANTERIOR\r\nCOO:000001\r\n");
        falha();
        leituraX("RbVisualizarX");
        EXPECT_LT(UStatus::iRetorno, 1);
        EXPECT_EQ(memo()->toPlainText(), QStringLiteral("Leitura X pela Serial\nNenhuma Leitura Foi Recebida do ECF"));
        caixas();
    }
    EXPECT_TRUE(shell.calls.empty());
}

// A call reported as done that left no capture: the earlier reading's file
// is neither saved nor shown as this one's.
TEST_F(RelFiscais, UmaCapturaAnteriorNaoPassaPorLeituraNova) {
    gravaCaptura("LEITURA DE UMA HORA ANTES\r\n");
    KesafiVirtual_ForcaResposta(1, KESAFI_ACK, 0, 0, 0);
    leituraX("RbSalvarX");
    EXPECT_EQ(UStatus::iRetorno, 1);
    EXPECT_EQ(descritas(caixas()),
              Caixas({"Information RESPOSTA DO ECF: RESPOSTA DA IMPRESSORA AO COMANDO : Obtendo Leitura X\r\rPrimeira "
                      "Resposta : OK\r\rSegunda Resposta : OK\r\rTerceira Resposta : COMANDO OK",
                      "Error LEITURA \"X\": Nenhuma Leitura Foi Recebida do ECF\rNenhum Arquivo Foi Gravado."}));
    EXPECT_TRUE(relatorios().isEmpty());

    gravaCaptura("LEITURA DE UMA HORA ANTES\r\n");
    KesafiVirtual_ForcaResposta(1, KESAFI_ACK, 0, 0, 0);
    memo()->setPlainText(QStringLiteral("antes"));
    leituraX("RbVisualizarX");
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("Leitura X pela Serial\nNenhuma Leitura Foi Recebida do ECF"));
    EXPECT_EQ(caixas().size(), 1u);
    EXPECT_EQ(controle<QPushButton>("BtLeituraX")->text(), QStringLiteral("Emitir Leitura X"));

    // The next reading that is captured shows as usual.
    leituraX("RbVisualizarX");
    EXPECT_TRUE(memo()->toPlainText().contains(QStringLiteral("LEITURA X")));
    caixas();
}

// After a NAK the answer box does not repeat the command before it.
TEST_F(RelFiscais, DepoisDeUmNakNaoHaRespostaDoComandoAnterior) {
    leituraX("RbImprimirX");
    caixas();
    KesafiVirtual_ForcaResposta(1, KESAFI_NAK, 0, 0, 0);
    leituraX("RbImprimirX");
    EXPECT_EQ(descritas(caixas()),
              Caixas{"Error Atenção: A Impressora retornou NAK !\rErro de Protocolo de Comunicação !"});
    EXPECT_EQ(controle<QPushButton>("BtLeituraX")->text(), QStringLiteral("Emitir Leitura X"));
}

TEST_F(RelFiscais, PortaoMostraOAvisoAntesDeHabilitarEDesabilitaSemAviso) {
    auto* portao = controle<QCheckBox>("CbHabilitaZ");
    auto* botao = controle<QPushButton>("BtReducaoZ");
    bool habilitadoDuranteAviso = true;
    dialogos.whileOpen([&](const Record&) { habilitadoDuranteAviso = botao->isEnabled(); });

    QTest::mouseClick(portao, Qt::LeftButton);
    EXPECT_TRUE(portao->isChecked());
    auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].kind, Kind::Information);
    EXPECT_EQ(vistas[0].title, QStringLiteral("REDUÇÃO"));
    EXPECT_EQ(vistas[0].text,
              QStringLiteral("Estou ciente que, ao emitir a Redução Z pelo Zentora ,\rpoderei ter problemas com o meu "
                             "aplicativo PAF-ECF e \restou executando este comando mediante a orientação do \rsuporte "
                             "técnico da empresa responsável por meus aplicativos fiscais."));
    EXPECT_FALSE(habilitadoDuranteAviso);
    EXPECT_TRUE(botao->isEnabled());

    QTest::mouseClick(portao, Qt::LeftButton);
    EXPECT_FALSE(portao->isChecked());
    EXPECT_FALSE(botao->isEnabled());
    EXPECT_TRUE(caixas().empty());

    // Checking again shows the notice again.
    QTest::mouseClick(portao, Qt::LeftButton);
    EXPECT_EQ(caixas().size(), 1u);
    EXPECT_TRUE(botao->isEnabled());
}

TEST_F(RelFiscais, RecusarUmaDasPerguntasCancelaSemEnviarNada) {
    habilitaZ();
    controle<QCheckBox>("CbAjustaHora")->setChecked(true);
    for (int respostasSim : {0, 1}) {
        for (int i = 0; i < respostasSim; ++i) dialogos.yes();
        dialogos.no();
        janela->BtReducaoZClick();
        const auto vistas = caixas();
        ASSERT_EQ(vistas.size(), size_t(respostasSim + 2));
        // Both questions lead to a reduction, which cannot be undone: Enter says No.
        for (size_t i = 0; i + 1 < vistas.size(); ++i) EXPECT_TRUE(vistas[i].defaultNo);
        EXPECT_EQ(descreve(vistas.back()), "Information REDUÇÃO: Comando Cancelado");
    }
    EXPECT_EQ(chamadas("ReducaoZ"), 0);
}

TEST_F(RelFiscais, AjusteDoRelogioLevaADataEHoraDoClique) {
    // The printer's clock stands still at 10:00:00 tomorrow; the computer
    // says 10:02:00 at the click and 10:30:00 once the questions are answered.
    const QDateTime amanha(QDate::currentDate().addDays(1), QTime(10, 0, 0));
    ASSERT_EQ(KesafiVirtual_FixaRelogio(amanha.toString(QStringLiteral("ddMMyyyyHHmmss")).toLatin1().constData()), 1);
    platform::clock::set(amanha.addSecs(120));
    dialogos.whileOpen([](const Record& r) {
        if (r.kind == Kind::Question) platform::clock::set(QDateTime(QDate::currentDate().addDays(1), QTime(10, 30)));
    });
    habilitaZ();
    controle<QCheckBox>("CbAjustaHora")->setChecked(true);
    dialogos.yes().yes();
    QTest::mouseClick(controle<QPushButton>("BtReducaoZ"), Qt::LeftButton);

    const auto vistas = caixas();
    ASSERT_GE(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].kind, Kind::Question);
    EXPECT_EQ(vistas[0].title, kTituloEmissaoZ);
    EXPECT_TRUE(vistas[0].text.startsWith(QStringLiteral("Atenção!!! Você Marcou a Opção de Ajuste de Relógio\r")));
    EXPECT_EQ(vistas[1].text, QStringLiteral("Deseja Realmente Emitir a Redução Z?\rse a Redução não Estiver "
                                             "Pendente ,\ro ECF Ficará Bloqueado até as 23:59:59!"));
    EXPECT_EQ(chamadas("ReducaoZ"), 1);
    EXPECT_EQ(horaDaImpressora(), amanha.toString(QStringLiteral("ddMMyy")) + QStringLiteral(" 100200"));
}

TEST_F(RelFiscais, SemAjusteORelogioDaImpressoraFicaComoEstava) {
    const QDateTime amanha(QDate::currentDate().addDays(1), QTime(10, 0, 0));
    ASSERT_EQ(KesafiVirtual_FixaRelogio(amanha.toString(QStringLiteral("ddMMyyyyHHmmss")).toLatin1().constData()), 1);
    platform::clock::set(amanha.addSecs(120));
    habilitaZ();
    dialogos.yes();
    janela->BtReducaoZClick();

    const auto vistas = caixas();
    ASSERT_FALSE(vistas.empty());
    EXPECT_EQ(vistas[0].text.left(20), QStringLiteral("Deseja Realmente Emi"));
    EXPECT_EQ(chamadas("ReducaoZ"), 1);
    EXPECT_EQ(horaDaImpressora(), amanha.toString(QStringLiteral("ddMMyy")) + QStringLiteral(" 100000"));
}

TEST_F(RelFiscais, HorarioDeVeraoComEstadoVazioEntraNoHorarioDeVerao) {
    UStatus::sHorarioVerao.clear();
    habilitaZ();
    controle<QCheckBox>("CbHorarioVeraoZ")->setChecked(true);
    dialogos.yes();
    janela->BtReducaoZClick();

    EXPECT_EQ(chamadas("ReducaoZ"), 1);
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), 1);
    EXPECT_EQ(chamadas("DadosUltimaReducaoMFD"), 0);  // not the exit procedure
    EXPECT_NE(contador("FlagsFiscais") & 4, 0);
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("ATIVO"));
}

TEST_F(RelFiscais, HorarioDeVeraoAtivoSegueOProcedimentoDeSaida) {
    UStatus::sHorarioVerao = QStringLiteral("ATIVO");
    habilitaZ();
    controle<QCheckBox>("CbHorarioVeraoZ")->setChecked(true);
    dialogos.yes();
    janela->BtReducaoZClick();

    EXPECT_EQ(chamadas("ReducaoZ"), 1);
    EXPECT_EQ(chamadas("DadosUltimaReducaoMFD"), 1);
}

TEST_F(RelFiscais, ReducaoFechaODiaEALeituraSeguinteMostraOsNovosContadores) {
    const QString ultimaAntes = rotulo("LbUltimaZ");
    const QString restantesAntes = rotulo("LbZRestantes");
    const long long crz = contador("CRZ");
    ASSERT_GE(crz, 0);

    habilitaZ();
    dialogos.yes();
    QString legendaDuranteResposta;
    dialogos.whileOpen([&](const Record& r) {
        if (r.title == QLatin1String("RESPOSTA DO ECF") && legendaDuranteResposta.isEmpty())
            legendaDuranteResposta = controle<QPushButton>("BtReducaoZ")->text();
    });
    janela->BtReducaoZClick();

    EXPECT_EQ(UStatus::iRetorno, 1);
    EXPECT_EQ(legendaDuranteResposta, QStringLiteral("Aguarde !!!"));
    EXPECT_EQ(controle<QPushButton>("BtReducaoZ")->text(), QStringLiteral("Emitir Redução Z"));
    EXPECT_EQ(contador("CRZ"), crz + 1);
    EXPECT_NE(rotulo("LbUltimaZ"), ultimaAntes);
    EXPECT_EQ(rotulo("LbUltimaZ").left(8), QDate::currentDate().toString(QStringLiteral("dd/MM/yy")));
    EXPECT_EQ(rotulo("LbZRestantes").trimmed().toInt(), restantesAntes.trimmed().toInt() - 1);
    // Besides the question only answer boxes: nothing failed.
    for (const Record& r : caixas()) {
        if (r.kind != Kind::Question) {
            EXPECT_EQ(r.title, QStringLiteral("RESPOSTA DO ECF")) << descreve(r);
        }
    }

    leituraX("RbVisualizarX");
    const QString texto = memo()->toPlainText();
    EXPECT_TRUE(texto.contains(QStringLiteral("CRZ:") + QString::number(crz + 1).rightJustified(4, QLatin1Char('0'))))
        << texto.toStdString();
}

TEST_F(RelFiscais, LegendasComRetornoDeCarroMostramUmaLinhaPorTrecho) {
    // The countdown of a daylight-saving exit, written by its timer.
    esperaDoVerao(uComandosAdicionais::momento(QDate(2012, 2, 3), QTime(10, 40, 0)),
                  uComandosAdicionais::momento(QDate(2012, 2, 3), QTime(11, 15, 0)));
    tiqueDoVerao();
    auto* z = controle<QPushButton>("BtReducaoZ");
    ASSERT_EQ(z->text(), QStringLiteral("Aguarde !!! Hora do ECF  : 10:40:01\rComando Será Enviado as : 11:15:00"));
    const LegendaDesenhada contagem = legendaDesenhada(z);
    EXPECT_EQ(contagem.linhas, 2);
    // Both lines whole at the button's font, inside its frame.
    for (const QString& linha : z->text().split(QLatin1Char('\r')))
        EXPECT_LT(z->fontMetrics().horizontalAdvance(linha), z->width() - 12) << linha.toStdString();
    EXPECT_GT(contagem.area.left(), 2);
    EXPECT_LT(contagem.area.right(), z->width() - 3);
    EXPECT_LT(contagem.area.height(), z->height() - 4);

    EXPECT_EQ(legendaDesenhada(controle<QLabel>("LbMsgZ")).linhas, 3);
    EXPECT_EQ(legendaDesenhada(controle<QLabel>("LbInfo30Dias")).linhas, 2);
    EXPECT_EQ(legendaDesenhada(controle<QLabel>("sLabel1")).linhas, 2);
    EXPECT_EQ(legendaDesenhada(controle<QPushButton>("BtLeituraMF")).linhas, 1);
}

}  // namespace
