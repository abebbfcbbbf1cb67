#include "sessao.h"

#include <array>

#include "chaves.h"
#include "eventos.h"
#include "kesafi32.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "printer/buffer.h"
#include "printer/ustatus.h"

using namespace UStatus;
using printer::bufferEmBranco;
using printer::campo;

namespace uZentora3 {

QByteArray sVersaoDll;
QByteArray sModelo;
QByteArray sVersaoFirmware;
QByteArray sReducoesRestantes;
QByteArray sDataHoraUltimoDoc;
QByteArray sDataUltimaReducao;
QByteArray sHoraUltimaReducao;
QByteArray sPercentualLivreMFD;

namespace {

const QString kZentora3 = QStringLiteral("Zentora3");
const QString kSistema = QStringLiteral("Sistema");

QString arquivoIni() { return sPastaBase + QStringLiteral("KESAFI32.ini"); }

void progresso(int etapa) { emit core::eventos().progresso(etapa); }
void lido(Valor valor, const QString& texto) { emit core::eventos().valorLido(valor, texto); }
void atualizado(Valor valor, bool sim) { emit core::eventos().valorAtualizado(valor, sim); }

void recarregaIni() {
    Kestrona_FI_SelecionaIniLocal();
    Kestrona_FI_ReloadINIFile();
}

// One read of the panel: a fresh buffer of `largura` blanks, the command
// named and sent; `global` takes the buffer only when the printer answered.
// `analisa`: the answer goes through VerificaRetorno (its box included).
using LeituraDeBuffer = decltype(&Kestrona_FI_ReducoesRestantesMFD);
int lePainel(const char* nome, QByteArray& global, int largura, LeituraDeBuffer chamada, bool analisa) {
    QByteArray buffer = bufferEmBranco(largura);
    if (analisa) sComando = QString::fromUtf8(nome);
    const int retorno = chamada(buffer.data());
    if (analisa) {
        iRetorno = retorno;
        VerificaRetorno();
    }
    if (!falhaDeComunicacao(retorno)) global = buffer;
    return retorno;
}

void mostraZRestantes() { lido(Valor::ZRestantes, printer::texto(sReducoesRestantes)); }
void mostraUltimoDoc() { lido(Valor::UltimoDocMFD, formataDataHora(sDataHoraUltimoDoc, 1, sDataHoraUltimoDoc, 7)); }
void mostraMfdLivre() { lido(Valor::MfdLivre, QString::number(percentualLivre(sPercentualLivreMFD))); }

}  // namespace

// ---- start ------------------------------------------------------------

bool PreparaArquivoIni() {
    sPastaBase = platform::paths::executableFolder();
    platform::Profile ini(arquivoIni());
    const QString zero = QStringLiteral("0");
    return ini.writeStrings({{QStringLiteral("MFD"), QStringLiteral("Impressora"), QStringLiteral("1")},
                             {kSistema, QStringLiteral("Path"), sPastaBase},
                             {kSistema, QStringLiteral("Retorno"), zero},
                             {kSistema, QStringLiteral("Log"), zero},
                             {kSistema, QStringLiteral("LogDiario"), zero},
                             {kSistema, QStringLiteral("Status"), zero},
                             {kSistema, QStringLiteral("ControlePorta"), zero}});
}

std::optional<QString> LeAjuste(const QString& chave, const QString& padrao) {
    platform::Profile ini(arquivoIni());
    if (ini.readString(kZentora3, chave).isEmpty() && !ini.writeString(kZentora3, chave, padrao)) return std::nullopt;
    return ini.readString(kZentora3, chave);
}

bool GravaAjuste(const QString& chave, const QString& valor) {
    return platform::Profile(arquivoIni()).writeString(kZentora3, chave, valor);
}

void LeVersaoDll() {
    sComando = QStringLiteral("Verificando Versão da DLL");
    sVersaoDll = bufferEmBranco(KESAFI_LARGURA_VERSAO_DLL);
    iRetorno = Kestrona_FI_VersaoDll(sVersaoDll.data());
}

bool CarregaAjustes() {
    sChaveAssinatura1 = ChaveAssinatura1();
    sChaveAssinatura2 = ChaveAssinatura2();
    const auto cadastro = LeAjuste(QStringLiteral("Cadastro"), sPastaBase + QStringLiteral("Cadastro"));
    if (!cadastro) return false;
    sPastaCadastro = *cadastro;
    const auto abreTxt = LeAjuste(QStringLiteral("AbreTXT"), QStringLiteral("Notepad"));
    if (!abreTxt) return false;
    sAbreTXT = *abreTxt;
    const auto enviaOffline = LeAjuste(QStringLiteral("EnviaComandoOFFline"), QStringLiteral("Nao"));
    if (!enviaOffline) return false;
    sEnviaComandoOFFline = *enviaOffline;
    const auto trataOffline = LeAjuste(QStringLiteral("TrataOFFLine"), QStringLiteral("Nao"));
    if (!trataOffline) return false;
    sTrataOFFLine = *trataOffline;
    return true;
}

// ---- location ---------------------------------------------------------

bool AbrePorta() {
    platform::Profile ini(arquivoIni());
    progresso(1);
    if (!ini.writeString(kSistema, QStringLiteral("Porta"), QStringLiteral("USB"))) return false;
    recarregaIni();
    sComando = QStringLiteral("Abrindo Porta USB");
    int retorno = iRetorno = Kestrona_FI_AbrePortaSerial();
    if (retorno == 1) VerificaRetorno();

    if (retorno < 1) {
        progresso(2);
        Kestrona_FI_FechaPortaSerial();
        if (!ini.writeString(QStringLiteral("MFD"), QStringLiteral("Impressora"), QStringLiteral("1")) ||
            !ini.writeString(kSistema, QStringLiteral("Porta"), QStringLiteral("Default")))
            return false;
        recarregaIni();
        sComando = QStringLiteral("Abrindo Porta Serial");
        retorno = iRetorno = Kestrona_FI_AbrePortaSerial();
        VerificaRetorno();
        if (retorno < 1) return false;
    }
    progresso(3);
    return true;
}

bool IdentificaImpressora() {
    if (sEnviaComandoOFFline == QLatin1String("Sim"))
        iRetorno = Kestrona_FI_AtivaDesativaTratamentoONOFFLineMFD(sTrataOFFLine == QLatin1String("Sim") ? 0 : 1);

    progresso(4);
    sComando = QStringLiteral("Habilitando Retorno Extendido");
    iRetorno = Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD("1");
    VerificaRetorno();

    // A printer that stops answering while it is identified is not located.
    if (!LeInformacoesECF()) {
        Kestrona_FI_FechaPortaSerial();
        return false;
    }
    return true;
}

bool LocalizaImpressora() { return AbrePorta() && IdentificaImpressora(); }

QString PortaAtual() { return platform::Profile(arquivoIni()).readString(kSistema, QStringLiteral("Porta")); }

QByteArray LeMovimento() {
    QByteArray movimento = bufferEmBranco(KESAFI_LARGURA_DATA);
    iRetorno = Kestrona_FI_DataMovimento(movimento.data());
    VerificaRetorno();
    return movimento;
}

// ---- the information read ---------------------------------------------

QString formataDataHora(const QByteArray& data, int inicioData, const QByteArray& hora, int inicioHora) {
    return campo(data, inicioData, 2) + QLatin1Char('/') + campo(data, inicioData + 2, 2) + QLatin1Char('/') +
           campo(data, inicioData + 4, 2) + QStringLiteral(" - ") + campo(hora, inicioHora, 2) + QLatin1Char(':') +
           campo(hora, inicioHora + 2, 2) + QLatin1Char(':') + campo(hora, inicioHora + 4, 2);
}

QString formataVersao(const QByteArray& firmware) {
    return campo(firmware, 1, 2) + QLatin1Char('.') + campo(firmware, 3, 2) + QLatin1Char('.') + campo(firmware, 5, 2);
}

Movimento avaliaMovimento(const QByteArray& dataMovimento, const QDate& hoje) {
    // ddmmyy rearranged as yymmdd, compared as a number with today's yymmdd.
    const QString data = campo(dataMovimento, 5, 2) + campo(dataMovimento, 3, 2) + campo(dataMovimento, 1, 2);
    if (data == QLatin1String("000000")) return Movimento::Nenhum;
    if (printer::soDigitos(data) && data.toInt() < hoje.toString(QStringLiteral("yyMMdd")).toInt())
        return Movimento::AguardandoReducao;
    return Movimento::EmDia;
}

int percentualLivre(const QByteArray& buffer) {
    const QString inteiro = campo(buffer, 1, 2).trimmed();
    return printer::soDigitos(inteiro) ? qBound(0, inteiro.toInt(), 100) : 0;
}

QString descreveDiaFiscal(Movimento movimento, int flags) {
    if (movimento == Movimento::AguardandoReducao) return QStringLiteral("Redução Z Pendente");
    if (flags & 8) return QStringLiteral("Encerrado pela Redução Z");
    if (movimento == Movimento::Nenhum) return QStringLiteral("Sem Movimento");
    return QStringLiteral("Aberto");
}

bool falhaDeComunicacao(int retorno) { return retorno == 0 || retorno == -5 || retorno == -6; }

bool LeInformacoesECF() {
    static constexpr std::array kValores{Valor::NumeroSerie, Valor::Versao,      Valor::ZRestantes, Valor::UltimoDocMFD,
                                         Valor::UltimaZ,     Valor::StatusVerao, Valor::MfdLivre};
    size_t lidos = 0;
    // The first read the printer does not answer ends the sequence with its
    // one box: that value and those after it keep what was read before,
    // reported as not refreshed.
    const auto respondeu = [&](int retorno) {
        if (falhaDeComunicacao(retorno)) {
            for (size_t i = lidos; i < kValores.size(); ++i) atualizado(kValores[i], false);
            return false;
        }
        return true;
    };
    const auto pronto = [&](Valor valor) {
        atualizado(valor, true);
        ++lidos;
    };

    progresso(5);
    QByteArray serie = bufferEmBranco(KESAFI_LARGURA_NUMERO_SERIE);
    sComando = QStringLiteral("Lendo Número de Série");
    const int retornoSerie = iRetorno = Kestrona_FI_NumeroSerieMFD(serie.data());
    if (!falhaDeComunicacao(retornoSerie)) {
        sNumeroSerie = printer::texto(serie);
        lido(Valor::NumeroSerie, sNumeroSerie);
    }
    VerificaRetorno();
    if (!respondeu(retornoSerie)) return false;
    pronto(Valor::NumeroSerie);

    QByteArray modelo;
    if (!respondeu(lePainel("Lendo Modelo", modelo, KESAFI_LARGURA_MODELO, &Kestrona_FI_ModeloImpressora, true)))
        return false;
    if (!modelo.isNull()) sModelo = modelo.left(8);

    progresso(6);
    if (!respondeu(lePainel("Lendo Versão do Software Básico", sVersaoFirmware, KESAFI_LARGURA_VERSAO_FIRMWARE,
                            &Kestrona_FI_VersaoFirmwareMFD, true)))
        return false;
    lido(Valor::Versao, formataVersao(sVersaoFirmware));
    pronto(Valor::Versao);

    progresso(7);
    if (!respondeu(lePainel("Lendo Número Reduções Restantes", sReducoesRestantes, KESAFI_LARGURA_REDUCOES_RESTANTES,
                            &Kestrona_FI_ReducoesRestantesMFD, true)))
        return false;
    mostraZRestantes();
    pronto(Valor::ZRestantes);

    progresso(8);
    if (!respondeu(lePainel("Lendo Data Último Doc na MFD", sDataHoraUltimoDoc, KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC,
                            &Kestrona_FI_DataHoraUltimoDocumentoMFD, true)))
        return false;
    mostraUltimoDoc();
    pronto(Valor::UltimoDocMFD);

    progresso(9);
    QByteArray data = bufferEmBranco(KESAFI_LARGURA_DATA);
    QByteArray hora = bufferEmBranco(KESAFI_LARGURA_HORA);
    sComando = QStringLiteral("Lendo Data da Última Redução");
    const int retornoReducao = iRetorno = Kestrona_FI_DataHoraReducao(data.data(), hora.data());
    VerificaRetorno();
    if (!respondeu(retornoReducao)) return false;
    sDataUltimaReducao = data;
    sHoraUltimaReducao = hora;
    lido(Valor::UltimaZ, formataDataHora(sDataUltimaReducao, 1, sHoraUltimaReducao, 1));
    pronto(Valor::UltimaZ);

    progresso(10);
    sComando = QStringLiteral("Lendo status do Horário de Verão");
    if (!respondeu(LeStatusHorarioVerao())) return false;
    ++lidos;  // reported by the reading itself

    if (!respondeu(lePainel("Lendo Uso da MFD", sPercentualLivreMFD, KESAFI_LARGURA_PERCENTUAL_LIVRE,
                            &Kestrona_FI_PercentualLivreMFD, true)))
        return false;
    mostraMfdLivre();
    pronto(Valor::MfdLivre);
    return true;
}

void LeContadoresDoPainel() {
    // Only a read that succeeded replaces what the panel shows.
    const auto le = [](QByteArray& global, int largura, LeituraDeBuffer chamada, Valor valor, void (*mostra)()) {
        QByteArray buffer;
        const bool respondeu = lePainel(nullptr, buffer, largura, chamada, false) == 1;
        if (respondeu) {
            global = buffer;
            mostra();
        }
        atualizado(valor, respondeu);
    };
    le(sReducoesRestantes, KESAFI_LARGURA_REDUCOES_RESTANTES, &Kestrona_FI_ReducoesRestantesMFD, Valor::ZRestantes,
       &mostraZRestantes);
    le(sDataHoraUltimoDoc, KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC, &Kestrona_FI_DataHoraUltimoDocumentoMFD,
       Valor::UltimoDocMFD, &mostraUltimoDoc);
    le(sPercentualLivreMFD, KESAFI_LARGURA_PERCENTUAL_LIVRE, &Kestrona_FI_PercentualLivreMFD, Valor::MfdLivre,
       &mostraMfdLivre);
}

void MarcaContadoresNaoAtualizados() {
    for (Valor valor : {Valor::ZRestantes, Valor::UltimoDocMFD, Valor::MfdLivre}) atualizado(valor, false);
}

int LeStatusHorarioVerao() {
    int flags = 0;
    sComando = QStringLiteral("Lendo Flags Fiscais");
    const int retorno = iRetorno = Kestrona_FI_FlagsFiscais(&flags);
    VerificaRetorno();
    // A failed read says nothing about the flags: the state read before
    // stays (none before the first read), reported as not refreshed.
    if (retorno < 1) {
        atualizado(Valor::StatusVerao, false);
        return retorno;
    }

    const bool ativo = (flags & 4) != 0;
    sHorarioVerao = ativo ? QStringLiteral("ATIVO") : QStringLiteral("INATIVO");
    lido(Valor::StatusVerao, ativo ? QStringLiteral("Ativo") : QStringLiteral("Inativo"));
    atualizado(Valor::StatusVerao, true);
    emit core::eventos().horarioVeraoLido();
    return retorno;
}

}  // namespace uZentora3
