#include "tipo_e.h"

#include <algorithm>
#include <cassert>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include "relogio.h"
#include "texto.h"

namespace kesafi::tipo_e {
namespace {

// A field of a register: its kind (N numeric, X text, D date, H time) and width.
struct Campo {
    char tipo;
    size_t largura;
};

// The field tables, each from the first field after those that identify the
// printer (E01 from field 02, the others from field 05).
constexpr Campo kIdentificacao[] = {{'X', 20}, {'X', 1}, {'X', 20}};  // serial, additional MF, model
constexpr Campo kE01[] = {{'X', 20}, {'X', 1}, {'X', 7}, {'X', 20}, {'X', 20}, {'X', 10}, {'D', 8}, {'H', 6}, {'N', 3},
                          {'N', 14}, {'X', 3}, {'N', 6}, {'N', 6},  {'D', 8},  {'D', 8},  {'X', 8}, {'X', 15}};
constexpr Campo kE02[] = {{'N', 14}, {'X', 14}, {'X', 40}, {'X', 120}, {'D', 8},
                          {'H', 6},  {'N', 6},  {'N', 18}, {'N', 2}};
constexpr Campo kE12[] = {{'N', 2}, {'N', 6}, {'N', 6}, {'N', 6}, {'D', 8}, {'D', 8}, {'H', 6}, {'N', 14}, {'X', 1}};
constexpr Campo kE13[] = {{'N', 2}, {'N', 6}, {'X', 7}, {'N', 13}};
constexpr Campo kE14[] = {{'N', 2}, {'N', 6},  {'N', 6}, {'D', 8},  {'N', 14}, {'N', 13}, {'X', 1}, {'N', 13},
                          {'X', 1}, {'N', 14}, {'X', 1}, {'N', 13}, {'X', 1},  {'X', 40}, {'N', 14}};
constexpr Campo kE15[] = {{'N', 2}, {'N', 6},  {'N', 6},  {'N', 3}, {'X', 14}, {'X', 100}, {'N', 7},
                          {'X', 3}, {'N', 8},  {'N', 8},  {'N', 8}, {'N', 14}, {'X', 7},   {'X', 1},
                          {'N', 7}, {'N', 13}, {'N', 13}, {'X', 1}, {'N', 1},  {'N', 1}};
constexpr Campo kE18[] = {{'N', 2}, {'N', 6}, {'X', 15}, {'N', 13}};

// A field's value: the digits of a number (none for zero or less), or a text.
struct Valor {
    Valor(int64_t v) : texto(v > 0 ? std::to_string(v) : std::string()) {}
    Valor(int v) : Valor(static_cast<int64_t>(v)) {}
    Valor(std::string t) : texto(std::move(t)) {}
    Valor(const char* t) : texto(t) {}
    std::string texto;
};

// N, D and H right-aligned in zeros and cut to their last digits; X as ASCII,
// left-aligned in blanks and cut to its width.
std::string campo(const Campo& c, std::string_view v) {
    if (c.tipo == 'X') return padRight(ascii(v), c.largura);
    if (v.size() >= c.largura) return std::string(v.substr(v.size() - c.largura));
    return std::string(c.largura - v.size(), '0') + std::string(v);
}

std::string campos(std::span<const Campo> tabela, std::initializer_list<Valor> valores) {
    assert(tabela.size() == valores.size());
    std::string out;
    auto v = valores.begin();
    for (const Campo& c : tabela) out += campo(c, (v++)->texto);
    return out;
}

std::string identificacao(const char* nome, const Identidade& id) {
    return nome + campos(kIdentificacao, {id.serie, "", id.modelo});
}

// A record of a register identified by the printer: its fields from 05 on.
std::string registro(const char* nome, const Identidade& id, std::span<const Campo> tabela,
                     std::initializer_list<Valor> valores) {
    return identificacao(nome, id) + campos(tabela, valores) + "\r\n";
}

std::string d(int64_t wall) { return wall ? std::to_string(dayOf(wall)) : std::string(); }
std::string dia(int yyyymmdd) { return yyyymmdd > 0 ? std::to_string(yyyymmdd) : std::string(); }
std::string h(int64_t wall) { return wall ? hhmmss(wall) : std::string(); }
int64_t cnpj(const Identidade& id) { return std::stoll("0" + id.cnpj); }

// Records of one register for one reduction, in the order of their keys: all
// of their key fields come first and have fixed widths, so the records sort as
// text.
std::string emOrdem(std::vector<std::string> registros) {
    std::sort(registros.begin(), registros.end());
    std::string out;
    for (const std::string& r : registros) out += r;
    return out;
}

}  // namespace

std::string ascii(std::string_view cp) {
    // Windows-1252 0xC0 to 0xFF without their accents.
    static const char kBase[] = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";
    std::string out;
    out.reserve(cp.size());
    for (const char ch : cp) {
        const auto u = static_cast<unsigned char>(ch);
        if (u >= 0x20 && u < 0x7f)
            out += ch;
        else if (u >= 0xC0)
            out += kBase[u - 0xC0];
        else
            out += ' ';
    }
    return out;
}

std::string e01(const Identidade& id, std::string_view comando, int64_t crzInicial, int64_t crzFinal, int dataInicial,
                int dataFinal) {
    return "E01" +
           campos(kE01, {id.serie, "", id.tipoEcf, id.marca, id.modelo, id.versaoSb, d(id.gravacaoSb), h(id.gravacaoSb),
                         id.sequencial, cnpj(id), std::string(comando), crzInicial, crzFinal, dia(dataInicial),
                         dia(dataFinal), id.versaoBiblioteca, "01.00.00"}) +
           "\r\n";
}

std::string e02(const Identidade& id) {
    return registro("E02", id, kE02,
                    {cnpj(id), id.inscricaoEstadual, id.razaoSocial, id.endereco, d(id.cadastro), h(id.cadastro),
                     id.croCadastro, id.gtCadastro, id.usuario});
}

std::string e12(const Identidade& id, const Reducao& r) {
    return registro("E12", id, kE12,
                    {id.usuario, r.cont.crz, r.cont.coo, r.cont.cro, dia(r.dataMovimento), d(r.dataHora), h(r.dataHora),
                     r.totais.vendaBruta, "N"});
}

std::string e13(const Identidade& id, const Reducao& r) {
    const TotaisDia& t = r.totais;
    std::vector<std::pair<std::string, int64_t>> parciais;
    for (size_t i = 0; i < 16; ++i) {
        const Aliquota& a = r.aliquotas[i];
        if (a.valor == 0) continue;
        parciais.emplace_back(digits(static_cast<int64_t>(i + 1), 2) + (a.iss ? "S" : "T") + digits(a.valor, 4),
                              t.aliquotas[i]);
    }
    int64_t naoFiscais = 0;
    for (int64_t v : t.naoFiscais) naoFiscais += v;
    const std::pair<const char*, int64_t> outros[] = {
        {"F1", t.icms.substituicao},
        {"I1", t.icms.isencao},
        {"N1", t.icms.naoIncidencia},
        {"FS1", t.iss.substituicao},
        {"IS1", t.iss.isencao},
        {"NS1", t.iss.naoIncidencia},
        {"OPNF", naoFiscais},
        {"DT", t.ajustesIcms.descontos},
        {"DS", t.ajustesIss.descontos},
        {"AT", t.ajustesIcms.acrescimos},
        {"AS", t.ajustesIss.acrescimos},
        {"Can-T", t.ajustesIcms.cancelamentos},
        {"Can-S", t.ajustesIss.cancelamentos},
    };
    for (const auto& [codigo, valor] : outros) parciais.emplace_back(codigo, valor);
    std::vector<std::string> registros;
    for (const auto& [codigo, valor] : parciais)
        registros.push_back(registro("E13", id, kE13, {id.usuario, r.cont.crz, codigo, valor}));
    return emOrdem(std::move(registros));
}

std::string e14(const Identidade& id, const Cupom& c, int64_t emissao) {
    const char* ordem = c.desconto ? "D" : (c.acrescimo ? "A" : "");
    return registro("E14", id, kE14,
                    {id.usuario, c.ccf, c.coo, d(emissao), c.subtotal, c.desconto, c.desconto ? "V" : "", c.acrescimo,
                     c.acrescimo ? "V" : "", c.liquido, c.cancelado ? "S" : "N", 0, ordem, "", 0});
}

std::string e15(const Identidade& id, const Cupom& c, const Item& i) {
    return registro("E15", id, kE15,
                    {id.usuario,
                     c.coo,
                     c.ccf,
                     i.numero,
                     i.codigo,
                     i.descricao,
                     i.quantidade,
                     i.unidade,
                     i.unitario,
                     i.desconto,
                     i.acrescimo,
                     i.total,
                     i.totalizador,
                     i.cancelado ? "S" : "N",
                     0,
                     0,
                     0,
                     "T",
                     3,
                     2});
}

std::string e18(const Identidade& id, const Reducao& r, const Tabelas& t) {
    std::vector<std::string> registros;
    for (size_t i = 0; i < 20; ++i) {
        if (t.formas[i].nome.empty()) continue;
        registros.push_back(registro("E18", id, kE18, {id.usuario, r.cont.crz, t.formas[i].nome, r.totais.formas[i]}));
    }
    return emOrdem(std::move(registros));
}

std::string vazio(Registro registro, const Identidade& id) {
    struct Tabela {
        const char* nome;
        std::span<const Campo> campos;
    };
    // In the order of Registro.
    static const Tabela kTabelas[] = {{"E12", kE12}, {"E13", kE13}, {"E14", kE14}, {"E15", kE15}, {"E18", kE18}};
    const Tabela& t = kTabelas[static_cast<size_t>(registro)];
    std::string out = identificacao(t.nome, id);
    for (const Campo& c : t.campos) out += campo(c, {});
    return out + "\r\n";
}

}  // namespace kesafi::tipo_e
