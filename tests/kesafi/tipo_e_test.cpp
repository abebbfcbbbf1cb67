// The "Tipo E" files of ArquivoMFD, read as the public layout reads them: the
// registers each kind of file holds, in the order of their keys, a register
// without data as its one placeholder record (the printer's identity, zeros
// and blanks elsewhere), and the EAD line, checked with openssl alone.
#include <algorithm>
#include <map>
#include <sstream>

#include "apoio.h"
#include "ead/chaves.h"

namespace kesafi_teste {
namespace {

namespace fs = std::filesystem;

const std::string kSerie = "VF080000000000010247";
const std::string kIdentidade = kSerie + " " + "VF-80 TH            ";  // fields 02 to 04

// The field tables of the layout from field 05 on: kind and width.
const std::map<std::string, std::string> kCampos = {
    {"E12", "N2 N6 N6 N6 D8 D8 H6 N14 X1"},
    {"E13", "N2 N6 X7 N13"},
    {"E14", "N2 N6 N6 D8 N14 N13 X1 N13 X1 N14 X1 N13 X1 X40 N14"},
    {"E15", "N2 N6 N6 N3 X14 X100 N7 X3 N8 N8 N8 N14 X7 X1 N7 N13 N13 X1 N1 N1"},
    {"E18", "N2 N6 X15 N13"},
};
const std::map<std::string, size_t> kTamanhos = {{"E01", 166}, {"E02", 272}, {"E12", 101}, {"E13", 72},
                                                 {"E14", 191}, {"E15", 267}, {"E18", 80}};

// The placeholder of a register: its identity, then zeros in N, D and H
// fields and blanks in X fields.
std::string vazio(const std::string& registro) {
    std::string out = registro + kIdentidade;
    std::istringstream campos(kCampos.at(registro));
    for (std::string c; campos >> c;) out += std::string(std::stoul(c.substr(1)), c[0] == 'X' ? ' ' : '0');
    return out;
}

// The fields that order the records of a register (positions from 1, width).
const std::map<std::string, std::vector<std::pair<size_t, size_t>>> kChaves = {
    {"E12", {{47, 6}, {59, 6}}},   // CRZ, CRO
    {"E13", {{47, 6}, {53, 7}}},   // CRZ, partial total
    {"E14", {{47, 6}}},            // CCF
    {"E15", {{53, 6}, {59, 3}}},   // CCF, item
    {"E18", {{47, 6}, {53, 15}}},  // CRZ, payment method
};

std::string chave(const std::string& registro) {
    std::string k;
    for (const auto& [posicao, largura] : kChaves.at(registro.substr(0, 3))) k += fatia(registro, posicao, largura);
    return k;
}

// Kinds of file with the registers each holds after E01 and E02.
struct Tipo {
    int codigo;
    const char* prefixo;
    std::vector<std::string> registros;
};
const Tipo kTipos[] = {
    {0, "MF", {"E12", "E13"}},
    {1, "MFD", {"E14", "E15", "E18"}},
    {2, "TDM", {"E12", "E13", "E14", "E15", "E18"}},
    {3, "RZ", {"E14", "E15"}},
};

// The records of one register.
std::vector<std::string> de(const std::vector<std::string>& registros, const std::string& nome) {
    std::vector<std::string> out;
    for (const auto& r : registros)
        if (r.rfind(nome, 0) == 0) out.push_back(r);
    return out;
}

// The registers in the order they come, each named once per run.
std::vector<std::string> sequencia(const std::vector<std::string>& registros) {
    std::vector<std::string> out;
    for (const auto& r : registros)
        if (out.empty() || out.back() != r.substr(0, 3)) out.push_back(r.substr(0, 3));
    return out;
}

std::vector<std::string> esperada(const Tipo& t) {
    std::vector<std::string> s = {"E01", "E02"};
    s.insert(s.end(), t.registros.begin(), t.registros.end());
    return s;
}

long long valor(const std::string& registro, size_t posicao, size_t largura) {
    return std::stoll(fatia(registro, posicao, largura));
}

class TipoE : public ImpressoraComRelatorios {
protected:
    static std::string hoje() {
        const std::string d = diaDdmmyyyy();
        return d.substr(4, 4) + d.substr(2, 2) + d.substr(0, 2);
    }
    static std::string seis(long long n) { return std::to_string(n + 1000000).substr(1); }

    // The files of a kind ("TDM", "MF", ...) of this printer.
    std::vector<fs::path> doTipo(const std::string& prefixo) const { return arquivos(prefixo + kSerie); }

    // Generates the files of a kind for the range and returns their paths,
    // each checked for its signature; the earlier files of the kind go first.
    std::vector<fs::path> gera(const char* prefixo, int codigo, const std::string& inicial, const std::string& final,
                               const char* seletor = "D", int arquivoUnico = 1) {
        for (const auto& f : doTipo(prefixo)) fs::remove(f);
        EXPECT_EQ(Kestrona_FI_ArquivoMFD(nullptr, inicial.c_str(), final.c_str(), seletor, "1", codigo, ead::kChave1,
                                         ead::kChave2, arquivoUnico),
                  1);
        const auto feitos = doTipo(prefixo);
        for (const auto& f : feitos) confereAssinatura(f, pasta / "openssl");
        return feitos;
    }

    // The records of a type E file without CR LF, after checking that each
    // has its register's length and only ASCII, and that the EAD line ends it.
    static std::vector<std::string> registros(const fs::path& arquivo) {
        const std::string bytes = leArquivo(arquivo);
        std::vector<std::string> out;
        size_t inicio = 0;
        while (inicio < bytes.size()) {
            const size_t fim = bytes.find("\r\n", inicio);
            if (fim == std::string::npos) {
                ADD_FAILURE() << "no CR LF after " << bytes.substr(inicio, 40);
                break;
            }
            out.push_back(bytes.substr(inicio, fim - inicio));
            inicio = fim + 2;
        }
        if (out.empty() || out.back().rfind("EAD", 0) != 0 || out.back().size() != 259) {
            ADD_FAILURE() << arquivo << " does not end with its EAD line";
            return {};
        }
        out.pop_back();
        for (const auto& r : out) {
            const std::string nome = r.substr(0, 3);
            EXPECT_TRUE(kTamanhos.count(nome) && r.size() == kTamanhos.at(nome)) << r;
            EXPECT_TRUE(std::all_of(r.begin(), r.end(), [](char c) { return c >= 0x20 && c < 0x7f; })) << r;
            EXPECT_EQ(r.substr(3, 20), kSerie) << r;
        }
        return out;
    }

    // The one file of a kind for the range, as its records.
    std::vector<std::string> umArquivo(const Tipo& t, const std::string& inicial, const std::string& final,
                                       const char* seletor = "D") {
        const auto feitos = gera(t.prefixo, t.codigo, inicial, final, seletor);
        EXPECT_EQ(feitos.size(), 1u);
        return feitos.empty() ? std::vector<std::string>{} : registros(feitos[0]);
    }
};

// Every register's records come in the order of their keys, none of them a
// placeholder.
void emOrdemComDados(const std::vector<std::string>& registros) {
    std::map<std::string, std::string> anterior;
    for (const auto& r : registros) {
        const std::string nome = r.substr(0, 3);
        if (!kChaves.count(nome)) continue;
        EXPECT_NE(r, vazio(nome));
        const std::string k = chave(r);
        if (anterior.count(nome)) {
            EXPECT_LT(anterior[nome], k) << r;
        }
        anterior[nome] = k;
    }
}

// A day with only a Reading X: E01, E02 and one placeholder for each
// register of the kind, whether the range is given by dates or by COOs.
TEST_F(TipoE, AQuietDayGivesEveryRegisterOfTheKindAsOnePlaceholder) {
    ASSERT_EQ(Kestrona_FI_LeituraX(), 1);
    const std::string coo = seis(contador("COO"));
    for (const Tipo& t : kTipos) {
        for (const auto& [inicial, final, seletor] : {std::tuple{data(), data(), "D"}, std::tuple{coo, coo, "C"}}) {
            SCOPED_TRACE(std::string(t.prefixo) + " " + seletor);
            const auto r = umArquivo(t, inicial, final, seletor);
            ASSERT_EQ(r.size(), 2 + t.registros.size());
            EXPECT_EQ(sequencia(r), esperada(t));
            for (size_t i = 0; i < t.registros.size(); ++i) EXPECT_EQ(r[2 + i], vazio(t.registros[i]));
            // E01: the kind, no reduction in the range, the day.
            EXPECT_EQ(fatia(r[0], 113, 3), (std::string(t.prefixo) + "  ").substr(0, 3));
            EXPECT_EQ(fatia(r[0], 116, 12), std::string(12, '0'));
            EXPECT_EQ(fatia(r[0], 128, 16), hoje() + hoje());
            EXPECT_EQ(fatia(r[1], 45, 14), "12345678000195");
        }
    }
    // RFD: the tape's image, the Reading X in it.
    const auto rfd = gera("EMFD", 4, data(), data());
    ASSERT_EQ(rfd.size(), 1u);
    EXPECT_NE(leArquivo(rfd[0]).find("COO:" + coo + " LEITURA_X"), std::string::npos);
}

// Sales closed by a reduction: each kind holds its registers with data, E13
// every partial total, E18 every payment method, which together hold what
// the cupons took.
TEST_F(TipoE, ADayWithMovementHoldsItsRegistersInKeyOrder) {
    const long long ccf = contador("CCF");
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(4), 1);
    ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
    const long long cupons = contador("CCF") - ccf;
    for (const Tipo& t : kTipos) {
        SCOPED_TRACE(t.prefixo);
        const auto r = umArquivo(t, data(), data());
        EXPECT_EQ(sequencia(r), esperada(t));
        emOrdemComDados(r);
        const auto tem = [&](const char* nome) {
            return std::find(t.registros.begin(), t.registros.end(), nome) != t.registros.end();
        };
        if (tem("E12")) {
            const auto e12 = de(r, "E12");
            ASSERT_EQ(e12.size(), 1u);
            EXPECT_EQ(valor(e12[0], 47, 6), contador("CRZ"));
            EXPECT_EQ(de(r, "E13").size(), 16u);  // three rates, 13 other totals
            EXPECT_EQ(valor(r[0], 116, 6), contador("CRZ"));
            EXPECT_EQ(valor(r[0], 122, 6), contador("CRZ"));
        }
        if (tem("E14")) {
            const auto e14 = de(r, "E14");
            EXPECT_EQ(static_cast<long long>(e14.size()), cupons);
            EXPECT_GE(de(r, "E15").size(), e14.size());
            if (tem("E18")) {
                const auto e18 = de(r, "E18");
                ASSERT_EQ(e18.size(), 3u);
                EXPECT_EQ(fatia(e18[0], 53, 15), "Cartao Credito ");
                EXPECT_EQ(fatia(e18[1], 53, 15), "Cartao Debito  ");
                EXPECT_EQ(fatia(e18[2], 53, 15), "Dinheiro       ");
                long long recebido = 0, liquido = 0;
                for (const auto& e : e18) recebido += valor(e, 68, 13);
                for (const auto& e : e14)
                    if (fatia(e, 123, 1) == "N") liquido += valor(e, 109, 14);
                EXPECT_EQ(recebido, liquido);
            }
        }
    }
}

// Each register stands alone: a reduction without sales lists its totals
// and payment methods at zero (E13 and E18 alike) beside placeholders for the
// cupons; sales not yet reduced stand beside placeholders for the
// reduction's registers.
TEST_F(TipoE, ARegisterWithoutDataIsAPlaceholderBesideTheOthers) {
    const Tipo& tdm = kTipos[2];
    ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
    auto r = umArquivo(tdm, data(), data());
    EXPECT_EQ(sequencia(r), esperada(tdm));
    const auto e13 = de(r, "E13"), e18 = de(r, "E18");
    EXPECT_EQ(de(r, "E12").size(), 1u);
    EXPECT_EQ(e13.size(), 16u);
    EXPECT_EQ(e18.size(), 3u);
    for (const auto& e : e13)
        EXPECT_EQ(fatia(e, 47, 6) + fatia(e, 60, 13), seis(contador("CRZ")) + std::string(13, '0'));
    for (const auto& e : e18)
        EXPECT_EQ(fatia(e, 47, 6) + fatia(e, 68, 13), seis(contador("CRZ")) + std::string(13, '0'));
    EXPECT_EQ(de(r, "E14"), std::vector<std::string>{vazio("E14")});
    EXPECT_EQ(de(r, "E15"), std::vector<std::string>{vazio("E15")});

    // The next day's sales, not reduced yet.
    relogio("100000", 1);
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(2), 1);
    r = umArquivo(tdm, data(1), data(1));
    EXPECT_EQ(sequencia(r), esperada(tdm));
    for (const char* nome : {"E12", "E13", "E18"}) EXPECT_EQ(de(r, nome), std::vector<std::string>{vazio(nome)});
    EXPECT_EQ(de(r, "E14").size(), 2u);
    EXPECT_EQ(fatia(r[0], 116, 12), std::string(12, '0'));
}

// The printer's past (several days, a cancelled receipt among them) in one
// file keeps every register in key order; split per day, each day's file
// does, and the quiet day at the end holds placeholders.
TEST_F(TipoE, ManyDaysKeepTheKeyOrderAlsoSplitPerDay) {
    const Tipo& tdm = kTipos[2];
    const auto r = umArquivo(tdm, data(-30), data(-1));
    EXPECT_EQ(sequencia(r), esperada(tdm));
    emOrdemComDados(r);
    EXPECT_EQ(static_cast<long long>(de(r, "E12").size()), contador("CRZ"));
    EXPECT_EQ(static_cast<long long>(de(r, "E14").size()), contador("CCF"));
    EXPECT_NE(
        std::find_if(r.begin(), r.end(), [](const std::string& e) { return e.rfind("E14", 0) == 0 && e[122] == 'S'; }),
        r.end());

    ASSERT_EQ(Kestrona_FI_LeituraX(), 1);
    const auto dias = gera(tdm.prefixo, tdm.codigo, data(-30), data(), "D", 0);
    // The day the tables were programmed, the days of sales, today.
    ASSERT_EQ(dias.size(), static_cast<size_t>(contador("CRZ")) + 2);
    EXPECT_NE(dias.back().filename().string().find("_" + hoje() + "_"), std::string::npos);
    for (size_t i = 0; i < dias.size(); ++i) {
        SCOPED_TRACE(dias[i].string());
        const auto dia = registros(dias[i]);
        EXPECT_EQ(sequencia(dia), esperada(tdm));
        if (i == 0 || i + 1 == dias.size()) {
            ASSERT_EQ(dia.size(), 7u);
            for (size_t k = 0; k < tdm.registros.size(); ++k) EXPECT_EQ(dia[2 + k], vazio(tdm.registros[k]));
        } else {
            emOrdemComDados(dia);
            EXPECT_EQ(de(dia, "E12").size(), 1u);
        }
    }
}

}  // namespace
}  // namespace kesafi_teste
