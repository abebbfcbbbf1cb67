#include "disponibilidade.h"

namespace UGerenciador {

std::array<QString, kFuncoes> aStatus;

namespace {

using enum Janela;

constexpr std::array<Funcao, kFuncoes> kTabela = {{
    {1, "CbDriverUSB", Principal, "BtInstalaUSB"},
    {2, "CbConfigZEntora", Principal, "BtConfig"},
    {3, "CbLeituraX", RelFiscais, "BtLeituraX"},
    {4, "CbLeituraMF", RelFiscais, "BtLeituraMF"},
    // The Reduction Z is reached through its gate check box only: the Z
    // button keeps whatever state the gate gave it.
    {5, "CbLeituraZ", RelFiscais, "CbHabilitaZ"},
    {6, "CbComparaRelogio", ComandosAdicionais, "BtCompararRelogio"},
    {7, "CbHorarioVerao", ComandosAdicionais, "BtHorarioVerao"},
    {8, "CbGaveta", ComandosAdicionais, "BtGaveta"},
    {9, "CbTesteGuilhotina", ComandosAdicionais, "BtTestaGuilhotina"},
    {10, "CbConfigGuilhotina", ComandosAdicionais, "BtCOnfiguraGuilhotina"},
    {11, "CbEspacos", ComandosAdicionais, "BtEspacos"},
    {12, "CbCancelaCupom", ComandosAdicionais, "BtCancelaCupom"},
    {13, "CbCancelaCNF", ComandosAdicionais, "BtCancelaCNF"},
    {14, "CbFechaRG", ComandosAdicionais, "BtFechaGerencial"},
    {15, "CbUltimaZ", DadosMFeMFD, "BtDadosZ"},
    {16, "CbDownloadMF", DadosMFeMFD, "BtDownloadMF"},
    {17, "CbValidaASS", DadosMFeMFD, "BtValidarAssinatura"},
    {18, "CbImprimeConfigECF", DadosMFeMFD, "BtImprimirConfig"},
    {19, "CbMFDTipoE", DadosMFeMFD, "BtDownloadMFD"},
    {20, "CbEspelhoMFD", DadosMFeMFD, "BtMFDDiretoTXT"},
    {21, "CbMFDDeArquivo", DadosMFeMFD, "BtFormatoMFD"},
    {22, "CbPagtoArquivoECF", ConfigECF, "BtArquivoImpressoraFP"},
    {23, "CbPagtoEcfArquivo", ConfigECF, "BtImpressoraArquivoFP"},
    {24, "CbEnviaPagto", ConfigECF, "BtEnviarFormaPagto"},
    {25, "CbAliquotaArquivoECF", ConfigECF, "BtArquivoIpressoraAL"},
    {26, "CbAliquotaECFArquivo", ConfigECF, "BtImpressoraArquivoAL"},
    {27, "CbEnviaAliquota", ConfigECF, "BtEnviarAliquota"},
    {28, "CbCNFArquivoECF", ConfigECF, "BtArquivoImpressoraCNF"},
    {29, "CbCNFECFArquivo", ConfigECF, "BtImpressoraArquivoCNF"},
    {30, "CbEnviaCNF", ConfigECF, "BtEnviarCNF"},
    {31, "CbRgArquivoECF", ConfigECF, "BtEnviarArquivoImpressoraRG"},
    {32, "CbRGECFArquivo", ConfigECF, "BtEnviarImpressoraArquivoRG"},
    {33, "CbEnviaRG", ConfigECF, "BtEnviarRelGerencial"},
}};

constexpr bool emOrdem() {
    for (int i = 0; i < kFuncoes; ++i)
        if (kTabela[i].posicao != i + 1) return false;
    return true;
}
static_assert(emOrdem(), "each function stands at its flag's position");

int valorHex(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    return -1;
}

}  // namespace

const std::array<Funcao, kFuncoes>& Funcoes() { return kTabela; }

const char* NomeDaJanela(Janela janela) {
    switch (janela) {
        case Principal:
            return "TFprincipal";
        case ConfigECF:
            return "TFConfigECF";
        case RelFiscais:
            return "TFRelFiscais";
        case ComandosAdicionais:
            return "TFComandosAdicionais";
        case DadosMFeMFD:
            return "TFDadosMFeMFD";
    }
    return "?";
}

std::array<QString, kFuncoes> LeFlags(const QString& status) {
    std::array<QString, kFuncoes> flags;
    for (int i = 0; i < kFuncoes; ++i)
        flags[i] = i < status.size() && status[i] == QLatin1Char('0') ? QStringLiteral("0") : QStringLiteral("1");
    return flags;
}

QString JuntaFlags(const std::array<QString, kFuncoes>& flags) {
    QString status;
    for (const QString& flag : flags) status += flag;
    return status;
}

QString TextoParaHex(const QString& texto) {
    QString hex;
    for (const QChar c : texto) hex += QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
    return hex;
}

std::optional<QString> HexParaTexto(const QString& hex) {
    QString texto;
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2) {
        const int alto = valorHex(hex[i]);
        const int baixo = valorHex(hex[i + 1]);
        if (alto < 0 || baixo < 0) return std::nullopt;
        texto += QChar(char16_t(alto * 16 + baixo));
    }
    return texto;
}

bool SenhaGravavel(const QString& senha) {
    for (const QChar c : senha)
        if (c.unicode() > 255) return false;
    return true;
}

}  // namespace UGerenciador
