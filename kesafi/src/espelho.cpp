#include "espelho.h"

#include <sqlite3.h>

#include <memory>

#include "profile/system_text.h"
#include "relogio.h"
#include "saida.h"
#include "texto.h"

namespace kesafi::espelho {
namespace {

const std::string kSeparador = std::string(kColunas, '=') + "\r\n";

std::string faixaTexto(const Faixa& f) {
    if (f.tipo == Faixa::Tipo::Coo) return "COO " + digits(f.inicial, 6) + " A " + digits(f.final, 6);
    return "DATAS " + diaBarra(static_cast<int>(f.inicial)) + " A " + diaBarra(static_cast<int>(f.final));
}

// The heading lines, Windows-1252, each ended by CR LF.
std::string cabecalho(const Identificacao& id) {
    std::string s;
    auto linha = [&](std::string_view utf8) { s += cp1252(utf8) + "\r\n"; };
    linha("ESPELHO DA MFD - MEMÓRIA DE FITA-DETALHE");
    linha("NÚMERO DE FABRICAÇÃO: " + id.serie);
    linha("MODELO: " + id.modelo);
    linha("USUÁRIO: " + digits(id.usuario, 2));
    linha("INTERVALO: " + faixaTexto(id.faixa));
    linha("GERADO EM: " + dataBarra(id.gerado) + " " + horaDois(id.gerado));
    return s;
}

std::string rodape(int64_t documentos) {
    return kSeparador + "TOTAL DE DOCUMENTOS: " + std::to_string(documentos) + "\r\n";
}

// Text and RTF: the lines of the text, straight or as RTF paragraphs.
bool escreveTexto(bool rtf, ArquivoAssinado& f, const Identificacao& id, const Fonte& fonte, std::string_view chave1,
                  std::string_view chave2) {
    if (!f.aberto()) return false;
    std::string bloco;
    // An RTF paragraph per line: the control characters of RTF escaped, the
    // letters beyond ASCII as code-page escapes.
    auto emRtf = [&](std::string_view texto) {
        bloco.clear();
        size_t inicio = 0;
        while (inicio < texto.size()) {
            size_t fim = texto.find('\n', inicio);
            std::string_view linha =
                texto.substr(inicio, fim == std::string_view::npos ? std::string_view::npos : fim - inicio);
            if (!linha.empty() && linha.back() == '\r') linha.remove_suffix(1);
            for (const char ch : linha) {
                const auto u = static_cast<unsigned char>(ch);
                if (ch == '\\' || ch == '{' || ch == '}') {
                    bloco += '\\';
                    bloco += ch;
                } else if (u >= 0x80 || u < 0x20) {
                    static const char hex[] = "0123456789abcdef";
                    bloco += "\\'";
                    bloco += hex[u >> 4];
                    bloco += hex[u & 15];
                } else {
                    bloco += ch;
                }
            }
            bloco += "\\par\r\n";
            if (fim == std::string_view::npos) break;
            inicio = fim + 1;
        }
        f.escreve(bloco);
    };
    // The text is for a person to read: in the system's code page from the
    // first byte on, so that the signature covers the file as it stays.
    auto escreve = [&](std::string_view texto) {
        if (rtf)
            emRtf(texto);
        else
            f.escreve(profile::systemTextFromCp1252(texto));
    };
    if (rtf)
        f.escreve(
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
            "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134\\f0\\fs18\r\n");
    escreve(cabecalho(id));
    int64_t n = 0;
    const bool lido = fonte(
        [&](const Documento& d) {
            ++n;
            escreve(kSeparador + titulo(d));
            escreve(d.texto);
        },
        {});
    if (!lido) return false;
    escreve(rodape(n));
    if (rtf) f.escreve("}\r\n");
    return f.fecha(chave1, chave2);
}

// The database: an SQLite file with the heading, the documents and each
// receipt's items and payments.  Texts in UTF-8, amounts in cents.
const char* const kTabelas = R"sql(
CREATE TABLE espelho(chave TEXT PRIMARY KEY, valor TEXT NOT NULL);
CREATE TABLE documentos(ordem INTEGER PRIMARY KEY, coo INTEGER NOT NULL, tipo TEXT NOT NULL,
  data TEXT NOT NULL, hora TEXT NOT NULL, texto TEXT NOT NULL);
CREATE TABLE cupons(coo INTEGER PRIMARY KEY, ccf INTEGER NOT NULL, subtotal_centavos INTEGER NOT NULL,
  desconto_centavos INTEGER NOT NULL, acrescimo_centavos INTEGER NOT NULL, liquido_centavos INTEGER NOT NULL,
  cancelado INTEGER NOT NULL, coo_comprovante INTEGER NOT NULL);
CREATE TABLE itens(coo INTEGER NOT NULL, numero INTEGER NOT NULL, codigo TEXT NOT NULL, descricao TEXT NOT NULL,
  quantidade_milesimos INTEGER NOT NULL, unidade TEXT NOT NULL, unitario_centavos INTEGER NOT NULL,
  desconto_centavos INTEGER NOT NULL, acrescimo_centavos INTEGER NOT NULL, total_centavos INTEGER NOT NULL,
  totalizador TEXT NOT NULL, cancelado INTEGER NOT NULL, PRIMARY KEY (coo, numero));
CREATE TABLE pagamentos(coo INTEGER NOT NULL, ordem INTEGER NOT NULL, forma INTEGER NOT NULL, nome TEXT NOT NULL,
  valor_centavos INTEGER NOT NULL, PRIMARY KEY (coo, ordem));
)sql";

class Banco {
public:
    explicit Banco(const std::string& arquivo) {
        if (sqlite3_open_v2(arquivo.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
            ok_ = false;
        executa("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
        executa(kTabelas);
        executa("BEGIN");
    }
    ~Banco() {
        for (sqlite3_stmt* s : {espelho_, documento_, cupom_, item_, pagamento_}) sqlite3_finalize(s);
        sqlite3_close(db_);
    }
    bool ok() const { return ok_; }
    void executa(const char* sql) {
        if (ok_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) ok_ = false;
    }
    sqlite3_stmt* prepara(sqlite3_stmt*& s, const char* sql) {
        if (!s && ok_ && sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK) ok_ = false;
        if (s) sqlite3_reset(s);
        return s;
    }
    void passo(sqlite3_stmt* s) {
        if (!s || sqlite3_step(s) != SQLITE_DONE) ok_ = false;
    }
    static void texto(sqlite3_stmt* s, int i, std::string_view cp1252) {
        const std::string utf8 = profile::utf8FromCp1252(cp1252);
        sqlite3_bind_text(s, i, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    void chave(const char* chave, const std::string& valor) {
        sqlite3_stmt* s = prepara(espelho_, "INSERT INTO espelho VALUES (?, ?)");
        if (!s) return;
        sqlite3_bind_text(s, 1, chave, -1, SQLITE_STATIC);
        texto(s, 2, valor);
        passo(s);
    }
    void documento(int64_t ordem, const Documento& d) {
        sqlite3_stmt* s = prepara(documento_, "INSERT INTO documentos VALUES (?, ?, ?, ?, ?, ?)");
        if (!s) return;
        sqlite3_bind_int64(s, 1, ordem);
        sqlite3_bind_int64(s, 2, d.coo);
        texto(s, 3, d.tipo);
        texto(s, 4, dataBarra(d.dataHora));
        texto(s, 5, horaDois(d.dataHora));
        texto(s, 6, d.texto);
        passo(s);
    }
    void cupom(const Cupom& c) {
        sqlite3_stmt* s = prepara(cupom_, "INSERT OR REPLACE INTO cupons VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        if (!s) return;
        int64_t campos[] = {c.coo,       c.ccf,     c.subtotal,          c.desconto,
                            c.acrescimo, c.liquido, c.cancelado ? 1 : 0, c.comprovante};
        for (int i = 0; i < 8; ++i) sqlite3_bind_int64(s, i + 1, campos[i]);
        passo(s);
        for (const Item& it : c.itens) {
            s = prepara(item_, "INSERT OR REPLACE INTO itens VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
            if (!s) return;
            sqlite3_bind_int64(s, 1, c.coo);
            sqlite3_bind_int(s, 2, it.numero);
            texto(s, 3, it.codigo);
            texto(s, 4, it.descricao);
            sqlite3_bind_int64(s, 5, it.quantidade);
            texto(s, 6, it.unidade);
            sqlite3_bind_int64(s, 7, it.unitario);
            sqlite3_bind_int64(s, 8, it.desconto);
            sqlite3_bind_int64(s, 9, it.acrescimo);
            sqlite3_bind_int64(s, 10, it.total);
            texto(s, 11, it.totalizador);
            sqlite3_bind_int(s, 12, it.cancelado ? 1 : 0);
            passo(s);
        }
        for (const Pagamento& p : c.pagamentos) {
            s = prepara(pagamento_, "INSERT OR REPLACE INTO pagamentos VALUES (?, ?, ?, ?, ?)");
            if (!s) return;
            sqlite3_bind_int64(s, 1, c.coo);
            sqlite3_bind_int(s, 2, p.ordem);
            sqlite3_bind_int(s, 3, p.forma);
            texto(s, 4, p.nome);
            sqlite3_bind_int64(s, 5, p.valor);
            passo(s);
        }
    }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt *espelho_ = nullptr, *documento_ = nullptr, *cupom_ = nullptr, *item_ = nullptr, *pagamento_ = nullptr;
    bool ok_ = true;
};

bool escreveBanco(ArquivoAssinado& f, const Identificacao& id, const Fonte& fonte, std::string_view chave1,
                  std::string_view chave2) {
    if (!f.aberto()) return false;
    {
        Banco b(f.entregaTemporario());
        b.chave("titulo", cp1252("ESPELHO DA MFD - MEMÓRIA DE FITA-DETALHE"));
        b.chave("numero_fabricacao", id.serie);
        b.chave("modelo", id.modelo);
        b.chave("usuario", digits(id.usuario, 2));
        b.chave("intervalo", faixaTexto(id.faixa));
        b.chave("gerado_em", dataBarra(id.gerado) + " " + horaDois(id.gerado));
        int64_t n = 0;
        const bool lido = fonte([&](const Documento& d) { b.documento(++n, d); }, [&](const Cupom& c) { b.cupom(c); });
        b.chave("total_documentos", std::to_string(n));
        b.executa("COMMIT");
        if (!lido || !b.ok()) return false;
    }
    return f.fechaArquivo(chave1, chave2);
}

}  // namespace

std::string titulo(const Documento& d) {
    return "COO:" + digits(d.coo, 6) + " " + d.tipo + " " + dataBarra(d.dataHora) + " " + horaDois(d.dataHora) + "\r\n";
}

bool escreve(Formato formato, ArquivoAssinado& f, const Identificacao& id, const Fonte& fonte, std::string_view chave1,
             std::string_view chave2) {
    if (formato == Formato::Banco) return escreveBanco(f, id, fonte, chave1, chave2);
    return escreveTexto(formato == Formato::Rtf, f, id, fonte, chave1, chave2);
}

}  // namespace kesafi::espelho
