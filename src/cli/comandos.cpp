#include "comandos.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QSet>
#include <cstdio>
#include <variant>

#include "core/arquivos.h"
#include "core/dadosz.h"
#include "core/disponibilidade.h"
#include "core/intervalo.h"
#include "core/relatorios.h"
#include "core/sessao.h"
#include "kesafi32.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "printer/buffer.h"
#include "printer/nomes.h"
#include "printer/ustatus.h"

using namespace UStatus;

namespace cli {
namespace {

// ---- the boxes of the core, on a terminal ------------------------------

// What the core would show in a box is kept to be told on standard error
// when the command fails; a question is answered No (the commands that need
// a Yes take a flag instead), and nothing is chosen in a dialog.
class Terminal final : public platform::dialogs::Backend {
public:
    void message(platform::dialogs::Kind, const QString& title, const QString& text) override {
        caixas << title + QStringLiteral(": ") + QString(text).replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    bool question(const QString&, const QString&, bool) override { return false; }
    QString input(const QString&, const QString&, const QString&, bool) override { return {}; }
    QString chooseFolder(const QString&) override { return {}; }
    std::optional<QString> chooseFile(const platform::dialogs::FileDialog&) override { return std::nullopt; }

    QStringList caixas;
};

// ---- the command line ------------------------------------------------------

struct Linha {
    QString comando;
    QStringList posicionais;
    QSet<QString> bandeiras;
    QMap<QString, QStringList> valores;
};

// How many values each option takes.
const QMap<QString, int> kOpcoes = {
    {QStringLiteral("--json"), 0},         {QStringLiteral("--salvar"), 0},     {QStringLiteral("--confirmo"), 0},
    {QStringLiteral("--simplificada"), 0}, {QStringLiteral("--30-dias"), 0},    {QStringLiteral("--total"), 0},
    {QStringLiteral("--espelho"), 0},      {QStringLiteral("--um-por-dia"), 0}, {QStringLiteral("--datas"), 2},
    {QStringLiteral("--reducoes"), 2},     {QStringLiteral("--coo"), 2},        {QStringLiteral("--tipo-e"), 1},
    {QStringLiteral("--formato"), 1},
};

// The options each command accepts (--json always), and its positional arguments.
struct Uso {
    QSet<QString> opcoes;
    int minimoPosicionais = 0;
    int maximoPosicionais = 0;
};
const QMap<QString, Uso> kUsos = {
    {QStringLiteral("estado"), {{}}},
    {QStringLiteral("leitura-x"), {{QStringLiteral("--salvar")}}},
    {QStringLiteral("reducao-z"), {{QStringLiteral("--confirmo")}}},
    {QStringLiteral("memoria-fiscal"),
     {{QStringLiteral("--datas"), QStringLiteral("--reducoes"), QStringLiteral("--30-dias"),
       QStringLiteral("--simplificada"), QStringLiteral("--salvar")}}},
    {QStringLiteral("mfd"),
     {{QStringLiteral("--datas"), QStringLiteral("--coo"), QStringLiteral("--total"), QStringLiteral("--tipo-e"),
       QStringLiteral("--espelho"), QStringLiteral("--um-por-dia")}}},
    {QStringLiteral("converter"),
     {{QStringLiteral("--formato"), QStringLiteral("--datas"), QStringLiteral("--coo"), QStringLiteral("--total")},
      1,
      1}},
    {QStringLiteral("dados-z"), {{}}},
    {QStringLiteral("download-mf"), {{}}},
    {QStringLiteral("validar"), {{}, 1, 1000000}},
    {QStringLiteral("ajuda"), {{}}},
};

std::variant<Linha, QString> interpreta(const QStringList& argumentos) {
    Linha linha;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        if (a.startsWith(QLatin1String("--"))) {
            if (!kOpcoes.contains(a)) return QStringLiteral("Opção Desconhecida: ") + a;
            const int n = kOpcoes.value(a);
            if (i + n >= argumentos.size())
                return QStringLiteral("A Opção ") + a + QStringLiteral(" Pede %1 Valor(es)").arg(n);
            if (n == 0)
                linha.bandeiras.insert(a);
            else
                linha.valores.insert(a, argumentos.mid(i + 1, n));
            i += n;
        } else if (linha.comando.isEmpty()) {
            linha.comando = a;
        } else {
            linha.posicionais << a;
        }
    }
    if (linha.comando.isEmpty()) linha.comando = QStringLiteral("ajuda");
    if (!kUsos.contains(linha.comando)) return QStringLiteral("Comando Desconhecido: ") + linha.comando;
    const Uso& uso = kUsos.value(linha.comando);
    QSet<QString> usadas = linha.bandeiras;
    for (auto it = linha.valores.cbegin(); it != linha.valores.cend(); ++it) usadas.insert(it.key());
    for (const QString& opcao : usadas)
        if (opcao != QLatin1String("--json") && !uso.opcoes.contains(opcao))
            return QStringLiteral("O Comando ") + linha.comando + QStringLiteral(" não Aceita a Opção ") + opcao;
    if (linha.posicionais.size() < uso.minimoPosicionais || linha.posicionais.size() > uso.maximoPosicionais)
        return QStringLiteral("Argumentos Inválidos para o Comando ") + linha.comando;
    return linha;
}

// ---- what every command shares -------------------------------------------

Resultado uso(const QString& texto) {
    Resultado r;
    r.codigo = UsoInvalido;
    r.erros << texto << QStringLiteral("Veja: zentora-cli ajuda");
    r.json[QStringLiteral("erro")] = texto;
    return r;
}

QString iniDoPrograma() { return sPastaBase + QStringLiteral("KESAFI32.ini"); }

// The control the command manager governs for each command.
const QMap<QString, const char*> kControles = {
    {QStringLiteral("leitura-x"), "BtLeituraX"},       {QStringLiteral("reducao-z"), "CbHabilitaZ"},
    {QStringLiteral("memoria-fiscal"), "BtLeituraMF"}, {QStringLiteral("dados-z"), "BtDadosZ"},
    {QStringLiteral("download-mf"), "BtDownloadMF"},   {QStringLiteral("validar"), "BtValidarAssinatura"},
    {QStringLiteral("converter"), "BtFormatoMFD"},
};

// The function the manager made unavailable for `comando`, if any.
std::optional<QString> retidoPeloGerenciador(const QString& comando, bool espelho) {
    const char* controle = comando == QLatin1String("mfd") ? (espelho ? "BtMFDDiretoTXT" : "BtDownloadMFD")
                                                           : kControles.value(comando, nullptr);
    if (!controle) return std::nullopt;
    const auto flags = UGerenciador::LeFlags(
        platform::Profile(iniDoPrograma()).readString(QStringLiteral("Zentora3"), QStringLiteral("Status")));
    for (const UGerenciador::Funcao& f : UGerenciador::Funcoes())
        if (qstrcmp(f.controle, controle) == 0 && flags[size_t(f.posicao - 1)] == QLatin1String("0"))
            return QString::fromLatin1(f.caixa);
    return std::nullopt;
}

// The printer's memory lock of the virtual printer ("memoria.trava" in its
// memory folder), held while another program has the port open.
bool impressoraEmUso() {
    QString pasta = platform::Profile(iniDoPrograma()).readString(QStringLiteral("Virtual"), QStringLiteral("Memoria"));
    if (pasta.isEmpty()) pasta = sPastaBase + QStringLiteral("Impressora Virtual");
    return platform::files::lockedByAnother(platform::paths::join(pasta, QStringLiteral("memoria.trava")));
}

// The last answer as the status memo shows it, for standard error.
QStringList respostaDecodificada() {
    QStringList linhas{QStringLiteral("Comando: ") + sComando};
    if (iACK == KESAFI_NAK) {
        linhas << QStringLiteral("A Impressora retornou NAK ! Erro de Protocolo de Comunicação !");
        return linhas;
    }
    linhas << QStringLiteral("Retorno Extendido: ") + sRetornoEstendido
           << QStringLiteral("Retorno do ECF: ") + sRetornoECF
           << QStringLiteral("Primeira Resposta (ST1): ") + sPrimeiraResposta.trimmed()
           << QStringLiteral("Segunda Resposta (ST2): ") + sSegundaResposta.trimmed()
           << QStringLiteral("Terceira Resposta (ST3): ") + sTerceiraResposta;
    return linhas;
}

QJsonObject statusJson() {
    return {{QStringLiteral("retorno"), iRetorno},
            {QStringLiteral("ack"), iACK},
            {QStringLiteral("st1"), iST1},
            {QStringLiteral("st2"), iST2},
            {QStringLiteral("st3"), iST3},
            {QStringLiteral("bitsSt1"), sBitsST1},
            {QStringLiteral("bitsSt2"), sBitsST2},
            {QStringLiteral("primeiraResposta"), sPrimeiraResposta.trimmed()},
            {QStringLiteral("segundaResposta"), sSegundaResposta.trimmed()},
            {QStringLiteral("terceiraResposta"), sTerceiraResposta}};
}

// After a command's analysis: a refusal fills the result's errors.
bool aceito(Resultado& r, const Terminal& terminal) {
    if (iRetorno >= 1 && iACK != KESAFI_NAK) return true;
    r.codigo = Recusado;
    r.erros << respostaDecodificada() << terminal.caixas;
    r.json[QStringLiteral("status")] = statusJson();
    return false;
}

void escreveu(Resultado& r, const QString& arquivo) {
    r.arquivos << arquivo;
    QJsonArray lista = r.json.value(QStringLiteral("arquivos")).toArray();
    lista.append(arquivo);
    r.json[QStringLiteral("arquivos")] = lista;
}

QByteArray caminho(const QString& arquivo) { return QFile::encodeName(arquivo); }

// ---- the commands ----------------------------------------------------------

Resultado estado(Terminal&) {
    Resultado r;
    using namespace uZentora3;
    const QByteArray movimento = LeMovimento();
    int flags = 0;
    const bool flagsLidas = Kestrona_FI_FlagsFiscais(&flags) == 1;
    const Movimento situacao = avaliaMovimento(movimento, platform::clock::now().date());
    const QString diaFiscal = flagsLidas ? descreveDiaFiscal(situacao, flags) : QStringLiteral("Sem Resposta");
    const QString porta = PortaAtual();
    const QList<std::pair<QString, QString>> campos = {
        {QStringLiteral("Número de Série"), sNumeroSerie.trimmed()},
        {QStringLiteral("Modelo"), printer::texto(sModelo).trimmed()},
        {QStringLiteral("Porta"), porta},
        {QStringLiteral("Versão do Software Básico"), formataVersao(sVersaoFirmware)},
        {QStringLiteral("Versão da DLL"), printer::texto(sVersaoDll).trimmed()},
        {QStringLiteral("Reduções Restantes"), printer::texto(sReducoesRestantes).trimmed()},
        {QStringLiteral("Último Doc. na MFD"), formataDataHora(sDataHoraUltimoDoc, 1, sDataHoraUltimoDoc, 7)},
        {QStringLiteral("Última Redução Z"), formataDataHora(sDataUltimaReducao, 1, sHoraUltimaReducao, 1)},
        {QStringLiteral("Horário de Verão"), sHorarioVerao},
        {QStringLiteral("MFD Livre"), QString::number(percentualLivre(sPercentualLivreMFD)) + QLatin1Char('%')},
        {QStringLiteral("Dia Fiscal"), diaFiscal},
    };
    for (const auto& [nome, valor] : campos) r.linhas << nome + QStringLiteral(": ") + valor;
    r.linhas << respostaDecodificada().mid(1);
    r.json = {{QStringLiteral("numeroSerie"), sNumeroSerie.trimmed()},
              {QStringLiteral("modelo"), printer::texto(sModelo).trimmed()},
              {QStringLiteral("porta"), porta},
              {QStringLiteral("versaoFirmware"), formataVersao(sVersaoFirmware)},
              {QStringLiteral("versaoDll"), printer::texto(sVersaoDll).trimmed()},
              {QStringLiteral("reducoesRestantes"), printer::texto(sReducoesRestantes).trimmed().toInt()},
              {QStringLiteral("ultimoDocumentoMfd"), formataDataHora(sDataHoraUltimoDoc, 1, sDataHoraUltimoDoc, 7)},
              {QStringLiteral("ultimaReducao"), formataDataHora(sDataUltimaReducao, 1, sHoraUltimaReducao, 1)},
              {QStringLiteral("horarioVerao"), sHorarioVerao},
              {QStringLiteral("mfdLivrePercentual"), percentualLivre(sPercentualLivreMFD)},
              {QStringLiteral("diaFiscal"), diaFiscal},
              {QStringLiteral("status"), statusJson()}};
    return r;
}

Resultado leituraX(const Linha& linha, Terminal& terminal) {
    Resultado r;
    sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
    if (!linha.bandeiras.contains(QStringLiteral("--salvar"))) {
        sComando = QStringLiteral("Imprimindo Leitura X");
        iRetorno = Kestrona_FI_LeituraX();
        VerificaRetorno();
        if (aceito(r, terminal)) r.linhas << QStringLiteral("Leitura X Impressa.");
        return r;
    }
    sComando = QStringLiteral("Obtendo Leitura X");
    const URelFiscais::Captura captura;
    iRetorno = Kestrona_FI_LeituraXSerial();
    VerificaRetorno();
    if (!aceito(r, terminal)) return r;
    if (!URelFiscais::salvaCaptura(QStringLiteral("_LX.txt"), QStringLiteral("LEITURA \"X\""), captura)) {
        r.codigo = Recusado;
        r.erros << terminal.caixas;
        return r;
    }
    escreveu(r, sPastaBase + URelFiscais::caminhoRelatorio(sNomeArquivo + QStringLiteral("_LX.txt")));
    return r;
}

const QString kAvisoZ = QStringLiteral(
    "Estou ciente que, ao emitir a Redução Z pelo Zentora ,\rpoderei ter problemas com o meu aplicativo PAF-ECF e "
    "\restou executando este comando mediante a orientação do \rsuporte técnico da empresa responsável por meus "
    "aplicativos fiscais.");
const QString kPerguntaZ = QStringLiteral(
    "Deseja Realmente Emitir a Redução Z?\rse a Redução não Estiver Pendente ,\ro ECF Ficará Bloqueado até as "
    "23:59:59!");

QString terminalDe(QString texto) { return texto.replace(QLatin1Char('\r'), QLatin1Char('\n')); }

Resultado reducaoZ(Terminal& terminal) {
    Resultado r;
    sComando = QStringLiteral("Redução Z");
    iRetorno = Kestrona_FI_ReducaoZ(nullptr, nullptr);
    VerificaRetorno();
    if (aceito(r, terminal)) r.linhas << QStringLiteral("Redução Z Emitida.");
    return r;
}

// A reduction number of one to four digits.
std::optional<int> reducao(const QString& texto) {
    if (!printer::soDigitos(texto) || texto.size() > 4) return std::nullopt;
    return texto.toInt();
}

// The range of a fiscal memory reading, as the library takes it, checked as
// the window checks it.
struct FaixaMF {
    bool porZ = false;
    QString inicial;
    QString final;
};
std::variant<FaixaMF, Resultado> faixaMF(const Linha& linha) {
    const bool porData = linha.valores.contains(QStringLiteral("--datas"));
    const bool porZ = linha.valores.contains(QStringLiteral("--reducoes"));
    const bool ultimos30 = linha.bandeiras.contains(QStringLiteral("--30-dias"));
    if (int(porData) + int(porZ) + int(ultimos30) != 1)
        return uso(QStringLiteral("Escolha Uma Leitura: --datas DE ATE, --reducoes DE ATE ou --30-dias."));
    FaixaMF faixa;
    faixa.porZ = porZ;
    QString& inicial = faixa.inicial;
    QString& final = faixa.final;
    if (porZ) {
        const QStringList v = linha.valores.value(QStringLiteral("--reducoes"));
        const auto de = reducao(v[0]);
        const auto ate = reducao(v[1]);
        if (!de || !ate || *de < 1 || *ate < 1)
            return uso(
                QStringLiteral("Você deve Escolher um Intervalo de Reduções! Digite um Valor entre 0001 e 9999"));
        if (*de > *ate) return uso(QStringLiteral("O Valor Final não Pode ser Inferior ao Valor Inicial"));
        inicial = QStringLiteral("%1").arg(*de, 4, 10, QLatin1Char('0'));
        final = QStringLiteral("%1").arg(*ate, 4, 10, QLatin1Char('0'));
    } else {
        if (ultimos30) {
            const QDate hoje = platform::clock::now().date();
            inicial = hoje.addDays(-30).toString(QStringLiteral("dd/MM/yy"));
            final = hoje.toString(QStringLiteral("dd/MM/yy"));
        } else {
            inicial = linha.valores.value(QStringLiteral("--datas"))[0];
            final = linha.valores.value(QStringLiteral("--datas"))[1];
        }
        const auto de = URelFiscais::converteData(inicial);
        const auto ate = URelFiscais::converteData(final);
        if (!de || !ate || de->year() > 2060 || ate->year() > 2060)
            return uso(QStringLiteral("Você deve Escolher uma Data Válida! Digite uma Data Válida entre 2000 e 2060"));
        if (*de > *ate) return uso(QStringLiteral("A Data Final não Pode ser Anterior à Data Inicial"));
        inicial = de->toString(QStringLiteral("dd/MM/yy"));
        final = ate->toString(QStringLiteral("dd/MM/yy"));
    }
    return faixa;
}

Resultado memoriaFiscal(const Linha& linha, const FaixaMF& faixa, Terminal& terminal) {
    const bool porZ = faixa.porZ;
    Resultado r;
    sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
    const bool salvar = linha.bandeiras.contains(QStringLiteral("--salvar"));
    const QByteArray primeiro = printer::argumento(faixa.inicial);
    const QByteArray ultimo = printer::argumento(faixa.final);
    const QByteArray tipo = printer::argumento(
        linha.bandeiras.contains(QStringLiteral("--simplificada")) ? QStringLiteral("s") : QStringLiteral("c"));
    std::optional<URelFiscais::Captura> captura;
    if (salvar) captura.emplace();
    sComando = QStringLiteral("Leitura Memória Fiscal");
    const auto chamada =
        porZ ? (salvar ? Kestrona_FI_LeituraMemoriaFiscalSerialReducaoMFD : Kestrona_FI_LeituraMemoriaFiscalReducaoMFD)
             : (salvar ? Kestrona_FI_LeituraMemoriaFiscalSerialDataMFD : Kestrona_FI_LeituraMemoriaFiscalDataMFD);
    iRetorno = chamada(primeiro.constData(), ultimo.constData(), tipo.constData());
    VerificaRetorno();
    if (!aceito(r, terminal)) return r;
    if (!salvar) {
        r.linhas << QStringLiteral("Leitura da Memória Fiscal Impressa.");
        return r;
    }
    if (!URelFiscais::salvaCaptura(QStringLiteral("_MF.txt"), QStringLiteral("LEITURA \"MF\""), *captura)) {
        r.codigo = Recusado;
        r.erros << terminal.caixas;
        return r;
    }
    escreveu(r, sPastaBase + URelFiscais::caminhoRelatorio(sNomeArquivo + QStringLiteral("_MF.txt")));
    return r;
}

// The MFD range of --datas, --coo or --total, checked as the window checks it.
// The total range reads the last COO from the printer: `naoPedeImpressora`
// checks all but that, before the printer is reached.
std::variant<uDadosMFeMFD::Intervalo, Resultado> intervaloMFD(const Linha& linha, bool exigeTipo, bool temTipo,
                                                              bool naoPedeImpressora = false) {
    using namespace uDadosMFeMFD;
    Escolha e;
    e.exigeTipo = exigeTipo;
    e.temTipo = temTipo;
    const int escolhas = int(linha.valores.contains(QStringLiteral("--datas"))) +
                         int(linha.valores.contains(QStringLiteral("--coo"))) +
                         int(linha.bandeiras.contains(QStringLiteral("--total")));
    if (escolhas > 1) return uso(QStringLiteral("Escolha Um Só Intervalo: --datas, --coo ou --total."));
    if (escolhas == 0 && naoPedeImpressora)
        return uso(terminalDe(exigeTipo ? semFaixaDownload() : semFaixaRelatorio()));
    if (linha.valores.contains(QStringLiteral("--datas"))) {
        e.faixa = Faixa::Data;
        e.dataInicial = linha.valores.value(QStringLiteral("--datas"))[0];
        e.dataFinal = linha.valores.value(QStringLiteral("--datas"))[1];
    } else if (linha.valores.contains(QStringLiteral("--coo"))) {
        e.faixa = Faixa::Coo;
        e.cooInicial = linha.valores.value(QStringLiteral("--coo"))[0];
        e.cooFinal = linha.valores.value(QStringLiteral("--coo"))[1];
    } else if (linha.bandeiras.contains(QStringLiteral("--total"))) {
        if (naoPedeImpressora) return Intervalo{};
        // The whole memory, as the window's "Total" fills the range.
        e.faixa = Faixa::Total;
        e.dataInicial = QStringLiteral("01/01/00");
        e.dataFinal = platform::clock::now().date().toString(QStringLiteral("dd/MM/yy"));
        QByteArray coo = printer::bufferEmBranco(KESAFI_LARGURA_COO);
        e.cooInicial = QStringLiteral("000001");
        Kestrona_FI_NumeroCupom(coo.data());
        e.cooFinal = printer::texto(coo);
    }
    const auto resultado = ConfereIntervalo(e, exigeTipo ? semFaixaDownload() : semFaixaRelatorio());
    if (const auto* recusa = std::get_if<Recusa>(&resultado)) return uso(terminalDe(recusa->texto));
    return std::get<Intervalo>(resultado);
}

// With `soConfere` only the checks run (before the printer is reached).
Resultado mfd(const Linha& linha, Terminal& terminal, bool soConfere) {
    using namespace uDadosMFeMFD;
    const bool espelho = linha.bandeiras.contains(QStringLiteral("--espelho"));
    static const QMap<QString, int> kTipos = {
        {QStringLiteral("MF"), 0}, {QStringLiteral("MFD"), 1}, {QStringLiteral("TDM"), 2}};
    std::optional<int> tipo;
    if (linha.valores.contains(QStringLiteral("--tipo-e"))) {
        const QString nome = linha.valores.value(QStringLiteral("--tipo-e"))[0].toUpper();
        if (!kTipos.contains(nome)) return uso(QStringLiteral("Tipo E Inválido: use MF, MFD ou TDM."));
        tipo = kTipos.value(nome);
    }
    if (espelho && tipo) return uso(QStringLiteral("O Espelho não Gera Arquivo Tipo E: use --espelho ou --tipo-e."));
    if (!espelho && !tipo) tipo = 1;  // the MFD download, and its type-E file of the MFD
    const auto escolha = intervaloMFD(linha, !espelho, tipo.has_value(), soConfere);
    if (const auto* erro = std::get_if<Resultado>(&escolha)) return *erro;
    if (soConfere) return {};
    const Intervalo& intervalo = std::get<Intervalo>(escolha);

    Resultado r;
    const QByteArray inicial = printer::argumento(intervalo.inicial);
    const QByteArray final = printer::argumento(intervalo.final);
    const QByteArray seletor = printer::argumento(seletorMFD(intervalo));
    const QByteArray usuario = printer::argumento(QStringLiteral("1"));
    const QByteArray chave1 = printer::argumento(sChaveAssinatura1);
    const QByteArray chave2 = printer::argumento(sChaveAssinatura2);
    if (espelho) {
        sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
        const QString destino = platform::paths::join(pastaRelatorios(), sNomeArquivo + QStringLiteral("_Espelho.txt"));
        sComando = QStringLiteral("Espelho da MFD");
        iRetorno =
            Kestrona_FI_EspelhoMFD(caminho(destino).constData(), inicial.constData(), final.constData(),
                                   seletor.constData(), usuario.constData(), chave1.constData(), chave2.constData());
        VerificaRetorno();
        if (aceito(r, terminal)) escreveu(r, destino);
        return r;
    }

    // The library leaves its files in the folder `Path` names at the call.
    platform::Profile ini(iniDoPrograma());
    const QString sistema = QStringLiteral("Sistema");
    if (!ini.writeString(sistema, QStringLiteral("Path"), pastaRelatorios())) {
        r.codigo = Recusado;
        r.erros << terminal.caixas;
        return r;
    }
    const QStringList antes = QDir(pastaRelatorios()).entryList(QDir::Files);
    sComando = QStringLiteral("Download da MFD");
    const int unico = linha.bandeiras.contains(QStringLiteral("--um-por-dia")) ? 0 : 1;
    iRetorno = Kestrona_FI_ArquivoMFD(nullptr, inicial.constData(), final.constData(), seletor.constData(),
                                      usuario.constData(), *tipo, chave1.constData(), chave2.constData(), unico);
    const bool pathDeVolta =
        ini.writeString(sistema, QStringLiteral("Path"), sPastaBase, platform::Profile::OnFailure::Silent);
    VerificaRetorno();
    const QString nome = printer::nomeDeArquivo(sNumeroSerie) + QStringLiteral(".MFD");
    const Guarda guarda = GuardaDownload(pastaRelatorios(), nome);
    if (!pathDeVolta) r.erros << platform::unableToWrite(ini.path());
    if (!aceito(r, terminal)) return r;
    if (guarda != Guarda::Guardado) {
        r.codigo = Recusado;
        r.erros << QStringLiteral("Não Foi Possível Guardar o Arquivo ") + nome;
        return r;
    }
    escreveu(r, platform::paths::join(pastaRelatorios(), nome));
    // The type-E files the call wrote beside it.
    for (const QString& arquivo : QDir(pastaRelatorios()).entryList(QDir::Files, QDir::Name))
        if (!antes.contains(arquivo) && arquivo != nome) escreveu(r, platform::paths::join(pastaRelatorios(), arquivo));
    return r;
}

// With `soConfere` only the checks run (before the printer is reached).
Resultado converter(const Linha& linha, Terminal& terminal, bool soConfere) {
    using namespace uDadosMFeMFD;
    static const QMap<QString, std::pair<QString, QString>> kFormatos = {
        {QStringLiteral("txt"), {QStringLiteral("0"), QStringLiteral("TXT")}},
        {QStringLiteral("rtf"), {QStringLiteral("1"), QStringLiteral("RTF")}},
        {QStringLiteral("db"), {QStringLiteral("2"), QStringLiteral("MDB")}},
    };
    const QString formato = linha.valores.value(QStringLiteral("--formato")).value(0).toLower();
    if (!kFormatos.contains(formato))
        return uso(QStringLiteral("Você Deve Escolher o Formato de Saída: --formato txt, rtf ou db"));
    const QString origem = linha.posicionais[0];
    if (!QFileInfo(origem).isFile()) return uso(QStringLiteral("Arquivo não Encontrado: ") + origem);
    const auto escolha = intervaloMFD(linha, false, false, soConfere);
    if (const auto* erro = std::get_if<Resultado>(&escolha)) return *erro;
    if (soConfere) return {};
    const Intervalo& intervalo = std::get<Intervalo>(escolha);

    Resultado r;
    sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
    const QString destino = platform::paths::join(
        pastaRelatorios(), sNomeArquivo + QStringLiteral("_EspelhoArquivo.") + kFormatos.value(formato).second);
    sComando = QStringLiteral("Espelho de Arquivo MFD");
    const QByteArray codigo = printer::argumento(kFormatos.value(formato).first);
    const QByteArray seletor = printer::argumento(seletorArquivo(intervalo));
    const QByteArray inicial = printer::argumento(intervalo.inicial);
    const QByteArray final = printer::argumento(intervalo.final);
    iRetorno = Kestrona_FI_FormatoDadosMFD(caminho(QFileInfo(origem).absoluteFilePath()).constData(),
                                           caminho(destino).constData(), codigo.constData(), seletor.constData(),
                                           inicial.constData(), final.constData(), "1");
    VerificaRetorno();
    if (aceito(r, terminal)) escreveu(r, destino);
    return r;
}

Resultado dadosZ(Terminal& terminal) {
    Resultado r;
    sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
    QByteArray dados = printer::bufferEmBranco(KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO);
    sComando = QStringLiteral("Ler Dados da Última Z");
    iRetorno = Kestrona_FI_DadosUltimaReducaoMFD(dados.data());
    const QStringList linhas = uDadosMFeMFD::LinhasDadosZ(dados);
    VerificaRetorno();
    if (!aceito(r, terminal)) return r;
    const QString arquivo = sPastaBase + URelFiscais::caminhoRelatorio(sNomeArquivo + QStringLiteral("_Z.txt"));
    if (!uDadosMFeMFD::GravaTexto(arquivo, linhas)) {
        r.codigo = Recusado;
        r.erros << QStringLiteral("Não Foi Possível Gravar o Arquivo: ") + arquivo;
        return r;
    }
    escreveu(r, arquivo);
    return r;
}

Resultado downloadMF(Terminal& terminal) {
    Resultado r;
    sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
    const QString destino =
        platform::paths::join(uDadosMFeMFD::pastaRelatorios(), sNomeArquivo + QStringLiteral(".mf"));
    sComando = QStringLiteral("Download da MF");
    iRetorno = Kestrona_FI_DownloadMF(caminho(destino).constData());
    VerificaRetorno();
    if (aceito(r, terminal)) escreveu(r, destino);
    return r;
}

Resultado validar(const Linha& linha) {
    Resultado r;
    QJsonArray arquivos;
    const QByteArray chave1 = printer::argumento(sChaveAssinatura1);
    const QByteArray chave2 = printer::argumento(sChaveAssinatura2);
    for (const QString& arquivo : linha.posicionais) {
        QString situacao;
        bool valido = false;
        if (::validateFile(caminho(arquivo).constData(), chave1.constData(), chave2.constData()) == 1) {
            valido = true;
            situacao = QStringLiteral("Assinatura validada com sucesso!");
        } else if (const auto assinado = uDadosMFeMFD::TemLinhaAssinatura(arquivo); !assinado) {
            situacao = QStringLiteral("Não Foi Possível Ler o Arquivo");
        } else if (!*assinado) {
            situacao = QStringLiteral("O Arquivo não Possui Linha de Assinatura (EAD) !");
        } else {
            situacao = QStringLiteral("Erro na chave !");
        }
        r.linhas << arquivo + QStringLiteral(": ") + situacao;
        arquivos.append(QJsonObject{{QStringLiteral("arquivo"), arquivo},
                                    {QStringLiteral("valido"), valido},
                                    {QStringLiteral("mensagem"), situacao}});
        if (!valido) r.codigo = Recusado;
    }
    r.json[QStringLiteral("validacoes")] = arquivos;
    return r;
}

}  // namespace

QString textoDeAjuda() {
    return QStringLiteral(
        "zentora-cli COMANDO [OPÇÕES] [--json]\n"
        "  estado                              identidade e estado da impressora\n"
        "  leitura-x [--salvar]                imprime a Leitura X, ou a guarda em Relatorios\n"
        "  reducao-z --confirmo                emite a Redução Z\n"
        "  memoria-fiscal (--datas DE ATE | --reducoes DE ATE | --30-dias) [--simplificada] [--salvar]\n"
        "  mfd (--datas DE ATE | --coo DE ATE | --total) [--tipo-e MF|MFD|TDM] [--espelho] [--um-por-dia]\n"
        "  converter ARQUIVO.MFD --formato txt|rtf|db (--datas DE ATE | --coo DE ATE | --total)\n"
        "  dados-z                             dados da última Redução Z em Relatorios\n"
        "  download-mf                         arquivo .mf da Memória Fiscal em Relatorios\n"
        "  validar ARQUIVO...                  confere a assinatura (EAD) de cada arquivo\n"
        "  ajuda                               este texto\n"
        "Datas dd/mm/aa; COO de seis dígitos.\n"
        "Saída: 0 sucesso, 1 a impressora recusou, 2 uso ou dado inválido, 3 impressora não encontrada,\n"
        "4 impressora em uso por outro programa.\n");
}

Resultado executa(const QStringList& argumentos) {
    const auto interpretada = interpreta(argumentos);
    if (const auto* erro = std::get_if<QString>(&interpretada)) return uso(*erro);
    const Linha& linha = std::get<Linha>(interpretada);
    if (linha.comando == QLatin1String("ajuda")) {
        Resultado r;
        r.linhas << textoDeAjuda().trimmed().split(QLatin1Char('\n'));
        r.json[QStringLiteral("ajuda")] = textoDeAjuda();
        return r;
    }

    Terminal terminal;
    platform::dialogs::setBackend(&terminal);
    struct Restaura {
        ~Restaura() { platform::dialogs::setBackend(nullptr); }
    } restaura;

    // The program's settings, exactly as the window's start reads them.
    if (!uZentora3::PreparaArquivoIni() || !uZentora3::CarregaAjustes()) {
        Resultado r;
        r.codigo = UsoInvalido;
        r.erros << terminal.caixas;
        return r;
    }
    if (const auto retido = retidoPeloGerenciador(linha.comando, linha.bandeiras.contains(QStringLiteral("--espelho"))))
        return uso(QStringLiteral("Função Indisponível: o Gerenciador de Comandos a Desabilitou (") + *retido +
                   QLatin1Char(')'));

    if (linha.comando == QLatin1String("validar")) {
        Resultado r = validar(linha);
        r.json[QStringLiteral("comando")] = linha.comando;
        return r;
    }

    // Bad input is refused before anything reaches the printer.
    if (linha.comando == QLatin1String("reducao-z") && !linha.bandeiras.contains(QStringLiteral("--confirmo"))) {
        Resultado r = uso(QStringLiteral("A Redução Z Pede --confirmo."));
        r.erros.prepend(terminalDe(kPerguntaZ));
        r.erros.prepend(terminalDe(kAvisoZ));
        return r;
    }
    if (linha.comando == QLatin1String("memoria-fiscal")) {
        const auto faixa = faixaMF(linha);
        if (const auto* erro = std::get_if<Resultado>(&faixa)) return *erro;
    }
    if (linha.comando == QLatin1String("mfd"))
        if (Resultado r = mfd(linha, terminal, true); r.codigo != Sucesso) return r;
    if (linha.comando == QLatin1String("converter"))
        if (Resultado r = converter(linha, terminal, true); r.codigo != Sucesso) return r;

    uZentora3::LeVersaoDll();
    Kestrona_FI_FechaPortaSerial();
    if (!uZentora3::LocalizaImpressora()) {
        Kestrona_FI_FechaPortaSerial();
        Resultado r;
        const bool emUso = impressoraEmUso();
        r.codigo = emUso ? EmUso : SemImpressora;
        r.erros << (emUso ? QStringLiteral("A Impressora Está em Uso por Outro Programa (o Zentora Está Aberto?)")
                          : QStringLiteral("Nenhuma Impressora Fiscal Foi Localizada (USB e Serial)."));
        r.erros << terminal.caixas;
        r.json[QStringLiteral("erro")] = r.erros.constFirst();
        return r;
    }

    Resultado r;
    if (linha.comando == QLatin1String("estado"))
        r = estado(terminal);
    else if (linha.comando == QLatin1String("leitura-x"))
        r = leituraX(linha, terminal);
    else if (linha.comando == QLatin1String("reducao-z"))
        r = reducaoZ(terminal);
    else if (linha.comando == QLatin1String("memoria-fiscal"))
        r = memoriaFiscal(linha, std::get<FaixaMF>(faixaMF(linha)), terminal);
    else if (linha.comando == QLatin1String("mfd"))
        r = mfd(linha, terminal, false);
    else if (linha.comando == QLatin1String("converter"))
        r = converter(linha, terminal, false);
    else if (linha.comando == QLatin1String("dados-z"))
        r = dadosZ(terminal);
    else if (linha.comando == QLatin1String("download-mf"))
        r = downloadMF(terminal);
    Kestrona_FI_FechaPortaSerial();
    r.json[QStringLiteral("comando")] = linha.comando;
    r.json[QStringLiteral("codigo")] = r.codigo;
    return r;
}

void imprime(const Resultado& resultado, bool json) {
    QByteArray saida;
    if (json) {
        QJsonObject objeto = resultado.json;
        objeto[QStringLiteral("codigo")] = resultado.codigo;
        if (!resultado.erros.isEmpty()) objeto[QStringLiteral("erros")] = QJsonArray::fromStringList(resultado.erros);
        saida = QJsonDocument(objeto).toJson(QJsonDocument::Compact) + '\n';
    } else {
        for (const QString& linha : resultado.linhas) saida += linha.toUtf8() + '\n';
        for (const QString& arquivo : resultado.arquivos)
            saida += QStringLiteral("Arquivo: ").toUtf8() + arquivo.toUtf8() + '\n';
    }
    std::fwrite(saida.constData(), 1, size_t(saida.size()), stdout);
    for (const QString& erro : resultado.erros) std::fprintf(stderr, "%s\n", qUtf8Printable(erro));
}

}  // namespace cli
