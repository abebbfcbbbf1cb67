#include "tipo_e.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "relogio.h"
#include "texto.h"

namespace kesafi::tipo_e {
namespace {

std::string n(int64_t v, size_t largura) { return digits(std::max<int64_t>(0, v), largura); }
std::string x(std::string_view v, size_t largura) { return padRight(ascii(v), largura); }
std::string d(int64_t wall) { return wall ? std::to_string(dayOf(wall)) : std::string(8, '0'); }
std::string dia(int yyyymmdd) { return yyyymmdd > 0 ? n(yyyymmdd, 8) : std::string(8, '0'); }
std::string h(int64_t wall) { return wall ? hhmmss(wall) : std::string(6, '0'); }

// Fields 01 to 04 of every register (05, the user, in those that have it).
std::string inicio(const char* tipo, const Identidade& id) { return tipo + x(id.serie, 20) + " " + x(id.modelo, 20); }
std::string inicioComUsuario(const char* tipo, const Identidade& id) { return inicio(tipo, id) + n(id.usuario, 2); }

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
    return "E01" + x(id.serie, 20) + " " + x(id.tipoEcf, 7) + x(id.marca, 20) + x(id.modelo, 20) + x(id.versaoSb, 10) +
           d(id.gravacaoSb) + h(id.gravacaoSb) + n(id.sequencial, 3) + n(std::stoll("0" + id.cnpj), 14) +
           x(comando, 3) + n(crzInicial, 6) + n(crzFinal, 6) + dia(dataInicial) + dia(dataFinal) +
           x(id.versaoBiblioteca, 8) + x("01.00.00", 15) + "\r\n";
}

std::string e02(const Identidade& id) {
    return inicio("E02", id) + n(std::stoll("0" + id.cnpj), 14) + x(id.inscricaoEstadual, 14) + x(id.razaoSocial, 40) +
           x(id.endereco, 120) + d(id.cadastro) + h(id.cadastro) + n(id.croCadastro, 6) + n(id.gtCadastro, 18) +
           n(id.usuario, 2) + "\r\n";
}

std::string e12(const Identidade& id, const Reducao& r) {
    return inicioComUsuario("E12", id) + n(r.cont.crz, 6) + n(r.cont.coo, 6) + n(r.cont.cro, 6) + dia(r.dataMovimento) +
           d(r.dataHora) + h(r.dataHora) + n(r.totais.vendaBruta, 14) + "N\r\n";
}

std::string e13(const Identidade& id, const Reducao& r) {
    const TotaisDia& t = r.totais;
    std::vector<std::pair<std::string, int64_t>> parciais;
    for (size_t i = 0; i < 16; ++i) {
        const Aliquota& a = r.aliquotas[i];
        if (a.valor == 0) continue;
        parciais.emplace_back(n(static_cast<int64_t>(i + 1), 2) + (a.iss ? "S" : "T") + n(a.valor, 4), t.aliquotas[i]);
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
    std::sort(parciais.begin(), parciais.end());
    std::string out;
    for (const auto& [codigo, valor] : parciais)
        out += inicioComUsuario("E13", id) + n(r.cont.crz, 6) + x(codigo, 7) + n(valor, 13) + "\r\n";
    return out;
}

std::string e14(const Identidade& id, const Cupom& c, int64_t emissao) {
    const char* ordem = c.desconto ? "D" : (c.acrescimo ? "A" : " ");
    return inicioComUsuario("E14", id) + n(c.ccf, 6) + n(c.coo, 6) + d(emissao) + n(c.subtotal, 14) +
           n(c.desconto, 13) + (c.desconto ? "V" : " ") + n(c.acrescimo, 13) + (c.acrescimo ? "V" : " ") +
           n(c.liquido, 14) + (c.cancelado ? "S" : "N") + n(0, 13) + ordem + x("", 40) + n(0, 14) + "\r\n";
}

std::string e15(const Identidade& id, const Cupom& c, const Item& i) {
    return inicioComUsuario("E15", id) + n(c.coo, 6) + n(c.ccf, 6) + n(i.numero, 3) + x(i.codigo, 14) +
           x(i.descricao, 100) + n(i.quantidade, 7) + x(i.unidade, 3) + n(i.unitario, 8) + n(i.desconto, 8) +
           n(i.acrescimo, 8) + n(i.total, 14) + x(i.totalizador, 7) + (i.cancelado ? "S" : "N") + n(0, 7) + n(0, 13) +
           n(0, 13) + "T32\r\n";
}

std::string e18(const Identidade& id, const Reducao& r, const Tabelas& t) {
    std::string out;
    for (size_t i = 0; i < 20; ++i) {
        const int64_t valor = r.totais.formas[i];
        if (valor == 0 || t.formas[i].nome.empty()) continue;
        out += inicioComUsuario("E18", id) + n(r.cont.crz, 6) + x(t.formas[i].nome, 15) + n(valor, 13) + "\r\n";
    }
    return out;
}

}  // namespace kesafi::tipo_e
