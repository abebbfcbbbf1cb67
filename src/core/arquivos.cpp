#include "arquivos.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>

#include "ead/linha.h"
#include "platform/cp1252.h"
#include "platform/paths.h"
#include "printer/ustatus.h"
#include "relatorios.h"

namespace uDadosMFeMFD {
namespace {

// "KMFD" CR LF 0x1A LF, then the version.
const QByteArray kAssinaturaMFD("KMFD\r\n\x1a\n", 8);
constexpr quint16 kVersaoMFD = 1;
// No text of a heading comes near this; a damaged length stops the read.
constexpr quint32 kMaiorTexto = 4096;

QString texto(QDataStream& entrada) {
    quint32 tamanho = 0;
    entrada >> tamanho;
    if (tamanho > kMaiorTexto) {
        entrada.setStatus(QDataStream::ReadCorruptData);
        return {};
    }
    QByteArray bytes(qsizetype(tamanho), Qt::Uninitialized);
    if (entrada.readRawData(bytes.data(), int(tamanho)) != int(tamanho)) entrada.setStatus(QDataStream::ReadPastEnd);
    return platform::fromCp1252(bytes);
}

QDateTime momento(quint32 data, quint32 hora) {
    return QDateTime(QDate(int(data / 10000), int(data / 100 % 100), int(data % 100)),
                     QTime(int(hora / 10000), int(hora / 100 % 100), int(hora % 100)));
}

QString dia(qint64 yyyymmdd) { return momento(quint32(yyyymmdd), 0).date().toString(QStringLiteral("dd/MM/yy")); }

QString coo(qint64 numero) { return QStringLiteral("%1").arg(numero, 6, 10, QLatin1Char('0')); }

}  // namespace

std::optional<bool> TemLinhaAssinatura(const QString& arquivo) {
    QFile entrada(arquivo);
    if (!QFileInfo(arquivo).isFile() || !entrada.open(QIODevice::ReadOnly)) return std::nullopt;
    const qint64 tamanho = entrada.size();
    if (tamanho < qint64(ead::kTamanhoLinha)) return false;
    if (!entrada.seek(tamanho - qint64(ead::kTamanhoLinha))) return std::nullopt;
    const QByteArray fim = entrada.read(qint64(ead::kTamanhoLinha));
    if (fim.size() != qsizetype(ead::kTamanhoLinha)) return std::nullopt;
    return ead::lugarDeLinhaEad(std::string_view(fim.constData(), size_t(fim.size())));
}

std::optional<CabecalhoMFD> LeCabecalhoMFD(const QString& arquivo) {
    QFile entrada(arquivo);
    if (!entrada.open(QIODevice::ReadOnly)) return std::nullopt;
    if (entrada.read(kAssinaturaMFD.size()) != kAssinaturaMFD) return std::nullopt;
    QDataStream dados(&entrada);
    dados.setByteOrder(QDataStream::LittleEndian);
    quint16 versao = 0;
    quint8 tipo = 0;
    quint32 tamanho = 0;
    dados >> versao >> tipo >> tamanho;
    if (dados.status() != QDataStream::Ok || versao != kVersaoMFD || tipo != 'H') return std::nullopt;

    CabecalhoMFD c;
    c.serie = texto(dados);
    for (int i = 0; i < 4; ++i) texto(dados);  // model, firmware, brand, library version
    quint8 usuario = 0, faixa = 0;
    qint64 inicial = 0, final = 0;
    quint32 data = 0, hora = 0;
    dados >> usuario >> faixa >> inicial >> final >> data >> hora;
    if (dados.status() != QDataStream::Ok || (faixa != 'D' && faixa != 'C')) return std::nullopt;
    c.usuario = usuario;
    c.faixa = char(faixa);
    c.inicial = inicial;
    c.final = final;
    c.gerado = momento(data, hora);
    if (!c.gerado.isValid()) return std::nullopt;
    return c;
}

QString DescreveArquivoMFD(const QString& caminho) {
    if (!QFileInfo::exists(caminho)) return QStringLiteral("Nenhum Arquivo .MFD Guardado");
    const std::optional<CabecalhoMFD> c = LeCabecalhoMFD(caminho);
    if (!c) return QStringLiteral("Arquivo Guardado Ilegível");
    const QString faixa = c->faixa == 'C'
                              ? QStringLiteral("COO ") + coo(c->inicial) + QStringLiteral(" a ") + coo(c->final)
                              : dia(c->inicial) + QStringLiteral(" a ") + dia(c->final);
    return QStringLiteral("Arquivo Guardado: ") + faixa + QStringLiteral("\nBaixado em ") +
           c->gerado.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QString pastaRelatorios() { return UStatus::sPastaBase + QStringLiteral("Relatorios"); }

Guarda GuardaDownload(const QString& pasta, const QString& nome) {
    const QString baixado = platform::paths::join(pasta, QStringLiteral("Download.MFD"));
    if (!QFileInfo::exists(baixado)) return Guarda::Ausente;
    if (!URelFiscais::copiaArquivo(baixado, platform::paths::join(pasta, nome))) return Guarda::Falhou;
    QFile::remove(baixado);
    return Guarda::Guardado;
}

}  // namespace uDadosMFeMFD
