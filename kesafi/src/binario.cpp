#include "binario.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "impressora.h"
#include "regular.h"
#include "relogio.h"

namespace kesafi::binario {

namespace {

int diaCivil(int64_t wall) { return dayOf(wall); }
int horaCivil(int64_t wall) {
    const Civil c = civil(wall);
    return c.hora * 10000 + c.minuto * 100 + c.segundo;
}

// What a record may hold at most: no document comes near it, and a damaged
// length cannot make the reader take more memory than this.
constexpr uint32_t kMaiorRegistro = 64u << 20;

}  // namespace

Registro& Registro::u8(unsigned v) {
    campos_.push_back(static_cast<char>(v & 0xff));
    return *this;
}

Registro& Registro::u16(unsigned v) { return u8(v).u8(v >> 8); }

Registro& Registro::u32(uint64_t v) {
    for (int i = 0; i < 4; ++i) u8(static_cast<unsigned>(v >> (8 * i)));
    return *this;
}

Registro& Registro::i64(int64_t v) {
    const auto u = static_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i) u8(static_cast<unsigned>(u >> (8 * i)));
    return *this;
}

Registro& Registro::texto(std::string_view v) {
    u32(v.size());
    campos_.append(v);
    return *this;
}

Registro& Registro::data(int64_t wall) {
    return u32(static_cast<uint32_t>(diaCivil(wall))).u32(static_cast<uint32_t>(horaCivil(wall)));
}

std::string Registro::bytes() const {
    std::string out;
    out.reserve(5 + campos_.size());
    out.push_back(tipo_);
    const auto n = static_cast<uint32_t>(campos_.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((n >> (8 * i)) & 0xff));
    out += campos_;
    return out;
}

std::string cabecalho(const char* assinatura, const Cabecalho& c) {
    std::string out(assinatura, 8);
    out.push_back(static_cast<char>(kVersao & 0xff));
    out.push_back(static_cast<char>(kVersao >> 8));
    Registro h('H');
    h.texto(c.serie).texto(c.modelo).texto(c.firmware).texto(c.marca).texto(c.versaoBiblioteca);
    h.u8(static_cast<unsigned>(c.usuario)).u8(static_cast<unsigned char>(c.tipoFaixa)).i64(c.inicial).i64(c.final);
    h.data(c.gerado);
    return out + h.bytes();
}

std::string documento(const Documento& d) {
    Registro r('D');
    r.u32(static_cast<uint64_t>(d.coo)).texto(d.tipo).data(d.dataHora).texto(d.texto);
    return r.bytes();
}

std::string cupom(const Cupom& c) {
    Registro r('C');
    r.u32(static_cast<uint64_t>(c.ccf)).i64(c.subtotal).i64(c.desconto).i64(c.acrescimo).i64(c.liquido);
    r.u8(c.cancelado ? 1 : 0).u32(static_cast<uint64_t>(c.comprovante));
    std::string out = r.bytes();
    for (const Item& i : c.itens) {
        Registro ri('I');
        ri.u16(static_cast<unsigned>(i.numero)).texto(i.codigo).texto(i.descricao).i64(i.quantidade).texto(i.unidade);
        ri.i64(i.unitario).i64(i.desconto).i64(i.acrescimo).i64(i.total).texto(i.totalizador).u8(i.cancelado ? 1 : 0);
        out += ri.bytes();
    }
    for (const Pagamento& p : c.pagamentos) {
        Registro rp('P');
        rp.u8(static_cast<unsigned>(p.forma)).texto(p.nome).i64(p.valor);
        out += rp.bytes();
    }
    return out;
}

std::string reducao(const Reducao& r) {
    Registro z('Z');
    z.u32(static_cast<uint64_t>(r.cont.crz)).u32(static_cast<uint64_t>(r.cont.coo));
    z.u32(static_cast<uint32_t>(r.dataMovimento)).data(r.dataHora).texto(registroReducao(&r));
    return z.bytes();
}

std::string fim(uint32_t documentos, uint32_t reducoes) {
    Registro r('E');
    r.u32(documentos).u32(reducoes);
    return r.bytes();
}

// ---------------------------------------------------------------- reading

namespace {

// The fields of one record, read in order; a read past its end marks it bad.
class Campos {
public:
    explicit Campos(std::string_view b) : b_(b) {}
    bool bom() const { return bom_; }
    bool fim() const { return p_ == b_.size(); }
    uint64_t u(int bytes) {
        if (b_.size() - p_ < static_cast<size_t>(bytes)) {
            bom_ = false;
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(static_cast<unsigned char>(b_[p_ + i])) << (8 * i);
        p_ += static_cast<size_t>(bytes);
        return v;
    }
    int64_t i64() { return static_cast<int64_t>(u(8)); }
    std::string texto() {
        const uint64_t n = u(4);
        if (!bom_ || b_.size() - p_ < n) {
            bom_ = false;
            return {};
        }
        std::string s(b_.substr(p_, n));
        p_ += n;
        return s;
    }
    // A date and a time as a wall time; a value no calendar has marks it bad.
    int64_t data() {
        const auto dia = static_cast<int>(u(4));
        const auto hora = static_cast<int>(u(4));
        const int ano = dia / 10000, mes = dia / 100 % 100, d = dia % 100;
        if (ano < 1900 || ano > 9999 || mes < 1 || mes > 12 || d < 1 || d > 31 || hora / 10000 > 23 ||
            hora / 100 % 100 > 59 || hora % 100 > 59) {
            bom_ = false;
            return 0;
        }
        return startOfDay(dia) + hora / 10000 * 3600 + hora / 100 % 100 * 60 + hora % 100;
    }

private:
    std::string_view b_;
    size_t p_ = 0;
    bool bom_ = true;
};

}  // namespace

namespace {

// Reads a file's records one at a time, each checked against its length.
class Leitor {
public:
    Leitor(const std::string& arquivo, Leitura& saida) : in_(abreRegular(arquivo)), saida_(saida) {
        if (in_) std::setvbuf(in_.get(), nullptr, _IOFBF, 1 << 20);
    }
    // The signature and the version.
    bool abre() {
        char inicio[10];
        if (!in_) return falha("não foi possível ler o arquivo, ou não é um arquivo comum");
        if (!le(inicio, sizeof inicio) || std::memcmp(inicio, kAssinaturaMfd, 8) != 0)
            return falha("não é um arquivo da MFD");
        const unsigned versao = static_cast<unsigned char>(inicio[8]) | static_cast<unsigned char>(inicio[9]) << 8;
        if (versao == 0 || versao > kVersao) return falha("versão " + std::to_string(versao) + " desconhecida");
        return true;
    }
    bool proximo(char& tipo, std::string& corpo) {
        char topo[5];
        if (!le(topo, sizeof topo)) return falha("arquivo incompleto");
        uint32_t n = 0;
        for (int i = 0; i < 4; ++i) n |= static_cast<uint32_t>(static_cast<unsigned char>(topo[1 + i])) << (8 * i);
        if (n > kMaiorRegistro) return falha("registro maior que o permitido");
        corpo.resize(n);
        if (n && !le(corpo.data(), n)) return falha("arquivo incompleto");
        tipo = topo[0];
        return true;
    }
    bool falha(std::string motivo) {
        saida_.erro = std::move(motivo);
        return false;
    }
    // The header record's fields.
    bool cabecalho(const std::string& corpo) {
        Campos c(corpo);
        Cabecalho& h = saida_.cabecalho;
        h.serie = c.texto();
        h.modelo = c.texto();
        h.firmware = c.texto();
        h.marca = c.texto();
        h.versaoBiblioteca = c.texto();
        h.usuario = static_cast<int>(c.u(1));
        h.tipoFaixa = static_cast<char>(c.u(1));
        h.inicial = c.i64();
        h.final = c.i64();
        h.gerado = c.data();
        return c.bom() || falha("registro danificado");
    }

private:
    bool le(char* p, size_t n) { return std::fread(p, 1, n, in_.get()) == n; }

    struct Fecha {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Fecha> in_;
    Leitura& saida_;
};

}  // namespace

bool leCabecalho(const std::string& arquivo, Leitura& saida) {
    Leitor l(arquivo, saida);
    char tipo = 0;
    std::string corpo;
    if (!l.abre() || !l.proximo(tipo, corpo)) return false;
    if (tipo != 'H') return l.falha("cabeçalho ausente");
    return l.cabecalho(corpo);
}

bool le(const std::string& arquivo, Leitura& saida, const std::function<void(const Documento&)>& aoDocumento,
        const std::function<void(const Cupom&)>& aoCupom) {
    Leitor l(arquivo, saida);
    if (!l.abre()) return false;
    auto falha = [&](const char* motivo) { return l.falha(motivo); };
    Documento d;
    std::optional<Cupom> cupom;
    auto entregaCupom = [&] {
        if (cupom && aoCupom) aoCupom(*cupom);
        cupom.reset();
    };
    bool cabecalho = false;
    std::string corpo;
    char tipo = 0;
    while (l.proximo(tipo, corpo)) {
        Campos c(corpo);
        if (!cabecalho && tipo != 'H') return falha("cabeçalho ausente");
        switch (tipo) {
            case 'H':
                if (cabecalho || !l.cabecalho(corpo)) return falha("cabeçalho danificado");
                cabecalho = true;
                break;
            case 'D':
                entregaCupom();
                d.coo = static_cast<int64_t>(c.u(4));
                d.tipo = c.texto();
                d.dataHora = c.data();
                d.texto = c.texto();
                if (c.bom()) {
                    ++saida.documentos;
                    ++d.id;
                    if (aoDocumento) aoDocumento(d);
                }
                break;
            case 'C':
                entregaCupom();
                cupom.emplace();
                cupom->coo = d.coo;
                cupom->ccf = static_cast<int64_t>(c.u(4));
                cupom->subtotal = c.i64();
                cupom->desconto = c.i64();
                cupom->acrescimo = c.i64();
                cupom->liquido = c.i64();
                cupom->cancelado = c.u(1) != 0;
                cupom->comprovante = static_cast<int64_t>(c.u(4));
                break;
            case 'I': {
                if (!cupom) return falha("item fora de um cupom");
                Item& i = cupom->itens.emplace_back();
                i.numero = static_cast<int>(c.u(2));
                i.codigo = c.texto();
                i.descricao = c.texto();
                i.quantidade = c.i64();
                i.unidade = c.texto();
                i.unitario = c.i64();
                i.desconto = c.i64();
                i.acrescimo = c.i64();
                i.total = c.i64();
                i.totalizador = c.texto();
                i.cancelado = c.u(1) != 0;
                break;
            }
            case 'P': {
                if (!cupom) return falha("pagamento fora de um cupom");
                Pagamento& p = cupom->pagamentos.emplace_back();
                p.ordem = static_cast<int>(cupom->pagamentos.size());
                p.forma = static_cast<int>(c.u(1));
                p.nome = c.texto();
                p.valor = c.i64();
                break;
            }
            case 'Z':
                entregaCupom();
                ++saida.reducoes;
                break;
            case 'E': {
                entregaCupom();
                const auto documentos = static_cast<uint32_t>(c.u(4));
                const auto reducoes = static_cast<uint32_t>(c.u(4));
                if (!c.bom() || documentos != saida.documentos || reducoes != saida.reducoes)
                    return falha("contagem de registros diferente da do arquivo");
                return true;
            }
            default:
                break;  // a record of a later version: skipped
        }
        if (!c.bom()) return falha("registro danificado");
    }
    return false;
}

}  // namespace kesafi::binario
