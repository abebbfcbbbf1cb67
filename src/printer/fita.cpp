#include "fita.h"

#include <QList>

#include "kesafi32.h"
#include "platform/cp1252.h"
#include "platform/library.h"

namespace printer {

namespace {

// Room for a first page; a larger one is asked for when the library says so.
constexpr int kPaginaInicial = 256 * 1024;

bool soDigitos(const QByteArray& texto) {
    if (texto.isEmpty()) return false;
    for (char c : texto)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

std::optional<std::vector<RegistroDaFita>> interpretaPaginaDaFita(const QByteArray& pagina) {
    std::vector<RegistroDaFita> registros;
    qsizetype p = 0;
    while (p < pagina.size()) {
        const qsizetype fim = pagina.indexOf("\r\n", p);
        if (fim < 0) return std::nullopt;
        const QList<QByteArray> campos = pagina.mid(p, fim - p).split(' ');
        if (campos.size() != 6 || campos[2].isEmpty()) return std::nullopt;
        for (int i : {0, 1, 3, 4, 5})
            if (!soDigitos(campos[i]) || campos[i].size() > 18) return std::nullopt;
        const QDate dia = QDate::fromString(QString::fromLatin1(campos[3]), QStringLiteral("ddMMyyyy"));
        const QTime hora = QTime::fromString(QString::fromLatin1(campos[4]), QStringLiteral("HHmmss"));
        const qint64 tamanho = campos[5].toLongLong();
        if (!dia.isValid() || !hora.isValid() || tamanho > pagina.size() - (fim + 2)) return std::nullopt;
        RegistroDaFita& r = registros.emplace_back();
        r.numero = campos[0].toLongLong();
        r.coo = campos[1].toLongLong();
        r.tipo = QString::fromLatin1(campos[2]);
        r.momento = QDateTime(dia, hora);
        r.texto = platform::fromCp1252(pagina.constData() + fim + 2, tamanho);
        p = fim + 2 + tamanho;
    }
    return registros;
}

QString cabecalhoDoRegistro(const RegistroDaFita& registro, int colunas) {
    const QString esquerda =
        registro.coo > 0 ? QStringLiteral("COO %1 %2").arg(registro.coo, 6, 10, QLatin1Char('0')).arg(registro.tipo)
                         : QStringLiteral("COMANDO %1").arg(registro.tipo);
    const QString direita = registro.momento.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    const int lacuna = colunas - static_cast<int>(direita.size());
    return esquerda.left(qMax(0, lacuna - 1)).leftJustified(qMax(0, lacuna), QLatin1Char(' ')) + direita;
}

std::optional<Fita> Fita::daBiblioteca(const QString& arquivo) {
    const QString alvo =
        arquivo.isEmpty() ? platform::library::fileOf(reinterpret_cast<const void*>(&Kestrona_FI_VersaoDll)) : arquivo;
    const auto limites = reinterpret_cast<Limites>(platform::library::resolve(alvo, "KesafiVirtual_FitaLimites"));
    const auto le = reinterpret_cast<Le>(platform::library::resolve(alvo, "KesafiVirtual_FitaLe"));
    const auto procura = reinterpret_cast<Procura>(platform::library::resolve(alvo, "KesafiVirtual_FitaProcura"));
    if (!limites || !le || !procura) return std::nullopt;
    return Fita(limites, le, procura);
}

int Fita::limites(qint64& primeiro, qint64& ultimo) const {
    long long p = 0, u = 0;
    const int retorno = limites_(&p, &u);
    primeiro = retorno == 1 ? p : 0;
    ultimo = retorno == 1 ? u : 0;
    return retorno;
}

int Fita::le(qint64 numero, int sentido, int quantidade, std::vector<RegistroDaFita>& registros) const {
    registros.clear();
    QByteArray pagina(kPaginaInicial, '\0');
    int bytes = 0;
    int retorno = le_(numero, sentido, quantidade, pagina.data(), static_cast<int>(pagina.size()), &bytes);
    // The page grew between the two calls at most by what was printed meanwhile.
    for (int tentativa = 0; retorno == -3 && bytes >= pagina.size() && tentativa < 3; ++tentativa) {
        pagina.resize(static_cast<qsizetype>(bytes) + 1 + kPaginaInicial);
        retorno = le_(numero, sentido, quantidade, pagina.data(), static_cast<int>(pagina.size()), &bytes);
    }
    if (retorno != 1) return retorno;
    if (bytes < 0 || bytes >= pagina.size()) return -3;
    pagina.truncate(bytes);
    auto lidos = interpretaPaginaDaFita(pagina);
    if (!lidos) return -3;
    registros = std::move(*lidos);
    return 1;
}

int Fita::procuraCoo(qint64 coo, qint64& numero) const {
    long long n = 0;
    const int retorno = procura_(0, coo, coo, &n);
    numero = retorno == 1 ? n : 0;
    return retorno;
}

int Fita::procuraDia(const QDate& dia, qint64& numero) const {
    const long long d = dia.year() * 10000LL + dia.month() * 100 + dia.day();
    long long n = 0;
    const int retorno = procura_(1, d, d, &n);
    numero = retorno == 1 ? n : 0;
    return retorno;
}

}  // namespace printer
