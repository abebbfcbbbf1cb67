#include "dados_mfd.h"

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "binario.h"
#include "ead/chaves.h"
#include "espelho.h"
#include "relogio.h"
#include "saida.h"
#include "texto.h"
#include "tipo_e.h"

namespace kesafi::dados {
namespace {

// A text argument read no further than `maximo` bytes; nothing for a null
// pointer or a longer text.
std::optional<std::string_view> texto(const char* p, size_t maximo) {
    if (!p) return std::nullopt;
    const size_t n = strnlen(p, maximo + 1);
    if (n > maximo) return std::nullopt;
    return std::string_view(p, n);
}

constexpr size_t kMaiorCaminho = 4096;

std::optional<std::string> caminho(const char* p) {
    const auto t = texto(p, kMaiorCaminho);
    if (!t || t->empty()) return std::nullopt;
    return caminhoDoSistema(*t);
}

// "1" to "5".
std::optional<int> usuarioDe(const char* p) {
    const auto t = texto(p, 16);
    if (!t) return std::nullopt;
    const std::string_view v = trimmed(*t);
    if (v.size() != 1 || v[0] < '1' || v[0] > '5') return std::nullopt;
    return v[0] - '0';
}

std::optional<int64_t> cooDe(std::string_view v) {
    v = trimmed(v);
    if (v.empty() || v.size() > 6) return std::nullopt;
    int64_t n = 0;
    for (char ch : v) {
        if (ch < '0' || ch > '9') return std::nullopt;
        n = n * 10 + (ch - '0');
    }
    return n;
}

// The range: ok() and `f`, or the printer's refusal.
Resposta faixaDe(bool porData, const char* inicial, const char* final, Faixa& f) {
    const auto a = texto(inicial, 32), b = texto(final, 32);
    if (!a || !b) return invalido();
    if (porData) {
        const auto ini = parseDate(trimmed(*a));
        if (!ini) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_DATA_INICIAL_INVALIDA);
        const auto fim = parseDate(trimmed(*b));
        if (!fim) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_DATA_FINAL_INVALIDA);
        f = {Faixa::Tipo::Data, *ini, *fim};
    } else {
        const auto ini = cooDe(*a), fim = cooDe(*b);
        if (!ini || !fim) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_INTERVALO_INVALIDO);
        f = {Faixa::Tipo::Coo, *ini, *fim};
    }
    if (f.inicial > f.final) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_INTERVALO_INVALIDO);
    return ok();
}

Resposta semDados() { return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_SEM_DADOS_NA_MFD); }

std::string semPontos(std::string_view v) {
    std::string s;
    for (char ch : v)
        if (ch != '.') s += ch;
    return s;
}

tipo_e::Identidade identidade(const Impressora& imp) {
    const Estado& e = imp.estado();
    tipo_e::Identidade id;
    id.serie = e.serie;
    id.modelo = kModelo;
    id.marca = kMarca;
    id.tipoEcf = kTipoEcf;
    id.versaoSb = kVersaoSb;
    id.gravacaoSb = e.cadastro;
    id.cnpj = kContribuinte.cnpj;
    id.inscricaoEstadual = kContribuinte.inscricaoEstadual;
    id.razaoSocial = cp1252(kContribuinte.razaoSocial);
    id.endereco = cp1252(std::string(kContribuinte.endereco) + " - " + kContribuinte.cidade);
    id.cadastro = e.cadastro;
    id.versaoBiblioteca = semPontos(kVersaoDll);
    return id;
}

binario::Cabecalho cabecalhoBinario(const Impressora& imp, int usuario, char tipoFaixa, const Faixa& f) {
    binario::Cabecalho c;
    c.serie = imp.estado().serie;
    c.modelo = kModelo;
    c.firmware = kFirmware;
    c.marca = kMarca;
    c.versaoBiblioteca = kVersaoDll;
    c.usuario = usuario;
    c.tipoFaixa = tipoFaixa;
    c.inicial = f.inicial;
    c.final = f.final;
    c.gerado = imp.agora();
    return c;
}

// The files of one call, written under temporary names and put in place
// together once every one is whole (or none of them).
class Lote {
public:
    ArquivoAssinado& novo(const std::string& destino) {
        return *arquivos_.emplace_back(std::make_unique<ArquivoAssinado>(destino));
    }
    bool publica() {
        std::vector<ArquivoAssinado*> todos;
        for (auto& a : arquivos_) todos.push_back(a.get());
        return publicaTodos(todos);
    }

private:
    std::vector<std::unique_ptr<ArquivoAssinado>> arquivos_;
};

// A destination that is one of the library's own files is refused before
// anything is written.
bool destinoRecusado(const Sessao& s, const std::string& destino) { return s.configuracao().arquivoProprio(destino); }

// Download.MFD: the documents of the range with each receipt's data, then
// the reductions of the range.
bool escreveDownload(ArquivoAssinado& f, Memoria& m, const binario::Cabecalho& cab, const Faixa& faixa,
                     std::string_view chave1, std::string_view chave2) {
    if (!f.aberto()) return false;
    f.escreve(binario::cabecalho(binario::kAssinaturaMfd, cab));
    const int64_t documentos = m.percorre(
        faixa, [&](const Documento& d) { f.escreve(binario::documento(d)); },
        [&](const Cupom& c) { f.escreve(binario::cupom(c)); });
    const auto reducoes = m.reducoesDa(faixa);
    for (const Reducao& r : reducoes) f.escreve(binario::reducao(r));
    f.escreve(binario::fim(static_cast<uint32_t>(documentos), static_cast<uint32_t>(reducoes.size())));
    return f.fecha(chave1, chave2);
}

constexpr const char* kComandos[] = {"MF", "MFD", "TDM", "RZ"};
constexpr const char* kPrefixos[] = {"MF", "MFD", "TDM", "RZ", "EMFD"};

// A "Tipo E" file of a range: E01 and E02, then the registers of the type
// (MF: E12, E13; MFD: E14, E15, E18; TDM: all of them; RZ: E14, E15), each
// kind in the order of its keys; a register without data in the range as its
// one placeholder record.
bool escreveTipoE(ArquivoAssinado& f, Memoria& m, const Tabelas& t, const tipo_e::Identidade& id, int tipo,
                  const Faixa& faixa, std::string_view chave1, std::string_view chave2) {
    if (!f.aberto()) return false;
    const auto reducoes = m.reducoesDa(faixa);
    int dataInicial = static_cast<int>(faixa.inicial), dataFinal = static_cast<int>(faixa.final);
    if (faixa.tipo == Faixa::Tipo::Coo) {
        const auto periodo = m.periodo(faixa);
        dataInicial = periodo ? dayOf(periodo->first) : 0;
        dataFinal = periodo ? dayOf(periodo->second) : 0;
    }
    f.escreve(tipo_e::e01(id, kComandos[tipo], reducoes.empty() ? 0 : reducoes.front().cont.crz,
                          reducoes.empty() ? 0 : reducoes.back().cont.crz, dataInicial, dataFinal));
    f.escreve(tipo_e::e02(id));
    bool comDados = false;
    const auto escreve = [&](const std::string& registros) {
        comDados = comDados || !registros.empty();
        f.escreve(registros);
    };
    const auto fecha = [&](tipo_e::Registro r) {
        if (!comDados) f.escreve(tipo_e::vazio(r, id));
        comDados = false;
    };
    const bool mf = tipo == 0 || tipo == 2, mfd = tipo != 0;
    if (mf) {
        for (const Reducao& r : reducoes) escreve(tipo_e::e12(id, r));
        fecha(tipo_e::Registro::E12);
        for (const Reducao& r : reducoes) escreve(tipo_e::e13(id, r));
        fecha(tipo_e::Registro::E13);
    }
    if (mfd) {
        int64_t emissao = 0;
        m.percorre(
            faixa, [&](const Documento& d) { emissao = d.dataHora; },
            [&](const Cupom& c) { escreve(tipo_e::e14(id, c, emissao)); });
        fecha(tipo_e::Registro::E14);
        m.percorre(
            faixa, [](const Documento&) {},
            [&](const Cupom& c) {
                for (const Item& i : c.itens) escreve(tipo_e::e15(id, c, i));
            });
        fecha(tipo_e::Registro::E15);
    }
    if (tipo == 1 || tipo == 2) {
        for (const Reducao& r : reducoes) escreve(tipo_e::e18(id, r, t));
        fecha(tipo_e::Registro::E18);
    }
    return f.fecha(chave1, chave2);
}

// Name of a type E file: prefix, serial number, date and time.
std::string nomeTipoE(int tipo, const std::string& serie, int dia, int64_t gerado) {
    return std::string(kPrefixos[tipo]) + std::string(trimmed(serie)) + "_" + std::to_string(dia) + "_" +
           hhmmss(gerado) + ".TXT";
}

espelho::Identificacao identificacao(const Impressora& imp, int usuario, const Faixa& faixa) {
    return {imp.estado().serie, kModelo, usuario, faixa, imp.agora()};
}

espelho::Fonte daMemoria(Memoria& m, const Faixa& faixa) {
    return [&m, faixa](const auto& documento, const auto& cupom) {
        m.percorre(faixa, documento, cupom);
        return true;
    };
}

}  // namespace

Resposta arquivoMfd(Sessao& s, const char* origem, const char* inicial, const char* final, const char* seletor,
                    const char* usuario, int tipo, const char* chave1, const char* chave2, int arquivoUnico) {
    // The data come from the printer: a stored file is read by FormatoDadosMFD.
    if (origem && *origem) return invalido();
    const auto sel = texto(seletor, 8);
    const std::string v = sel ? maiusculas(*sel) : std::string();
    const auto u = usuarioDe(usuario);
    if ((v != "D" && v != "C") || !u || tipo < 0 || tipo > 4 || (arquivoUnico != 0 && arquivoUnico != 1) ||
        !chavesUsaveis(chave1, chave2))
        return invalido();
    Faixa faixa;
    if (Resposta r = faixaDe(v == "D", inicial, final, faixa); r.retorno != 1) return r;
    const std::string pasta = s.configuracao().pastaDeSaida();
    Impressora& imp = *s.imp;
    return imp.consulta([&](Memoria& m) -> Resposta {
        if (*u != 1 || !m.primeiroDocumento(faixa)) return semDados();
        const tipo_e::Identidade id = identidade(imp);
        // One file for the range, or one per day of movement in it.
        std::vector<std::pair<int, Faixa>> partes;
        if (arquivoUnico)
            partes.emplace_back(dayOf(imp.agora()), faixa);
        else
            partes = m.dias(faixa);
        std::vector<std::string> nomes;
        for (const auto& parte : partes) nomes.push_back(pasta + nomeTipoE(tipo, id.serie, parte.first, imp.agora()));
        if (destinoRecusado(s, pasta + "Download.MFD")) return invalido();
        for (const std::string& n : nomes)
            if (destinoRecusado(s, n)) return invalido();
        Lote lote;
        const binario::Cabecalho cab = cabecalhoBinario(imp, *u, v[0], faixa);
        if (!escreveDownload(lote.novo(pasta + "Download.MFD"), m, cab, faixa, chave1, chave2)) return {-1, 0, 0, 0};
        for (size_t i = 0; i < partes.size(); ++i) {
            const Faixa& parte = partes[i].second;
            ArquivoAssinado& f = lote.novo(nomes[i]);
            const bool escrito = tipo == 4 ? espelho::escreve(espelho::Formato::Texto, f, identificacao(imp, *u, parte),
                                                              daMemoria(m, parte), chave1, chave2)
                                           : escreveTipoE(f, m, imp.tabelas(), id, tipo, parte, chave1, chave2);
            if (!escrito) return {-1, 0, 0, 0};
        }
        return lote.publica() ? ok() : Resposta{-1, 0, 0, 0};
    });
}

Resposta espelhoMfd(Sessao& s, const char* destino, const char* inicial, const char* final, const char* seletor,
                    const char* usuario, const char* chave1, const char* chave2) {
    const auto arquivo = caminho(destino);
    const auto sel = texto(seletor, 8);
    const std::string v = sel ? maiusculas(*sel) : std::string();
    const auto u = usuarioDe(usuario);
    if (!arquivo || (v != "D" && v != "C") || !u || !chavesUsaveis(chave1, chave2) || destinoRecusado(s, *arquivo))
        return invalido();
    Faixa faixa;
    if (Resposta r = faixaDe(v == "D", inicial, final, faixa); r.retorno != 1) return r;
    Impressora& imp = *s.imp;
    return imp.consulta([&](Memoria& m) -> Resposta {
        if (*u != 1 || !m.primeiroDocumento(faixa)) return semDados();
        ArquivoAssinado f(*arquivo);
        const bool escrito = espelho::escreve(espelho::Formato::Texto, f, identificacao(imp, *u, faixa),
                                              daMemoria(m, faixa), chave1, chave2);
        return escrito && f.publica() ? ok() : Resposta{-1, 0, 0, 0};
    });
}

Resposta formatoDadosMfd(const Sessao& s, const char* origem, const char* destino, const char* formato,
                         const char* seletor, const char* inicial, const char* final, const char* usuario) {
    const auto fonte = caminho(origem), arquivo = caminho(destino);
    const auto fmt = texto(formato, 8), sel = texto(seletor, 8);
    const std::string f = fmt ? std::string(trimmed(*fmt)) : std::string();
    const std::string v = sel ? std::string(trimmed(*sel)) : std::string();
    const auto u = usuarioDe(usuario);
    if (!fonte || !arquivo || (f != "0" && f != "1" && f != "2") || (v != "1" && v != "2") || !u ||
        destinoRecusado(s, *arquivo))
        return invalido();
    Faixa faixa;
    if (Resposta r = faixaDe(v == "1", inicial, final, faixa); r.retorno != 1) return r;

    // The stored file's heading names the printer; its documents are read
    // as the report is written, those of the range passed on.
    binario::Leitura cabecalho;
    const auto entra = [&](const Documento& d) {
        if (faixa.tipo == Faixa::Tipo::Coo) return d.coo > 0 && d.coo >= faixa.inicial && d.coo <= faixa.final;
        const int dia = dayOf(d.dataHora);
        return dia >= faixa.inicial && dia <= faixa.final;
    };
    // Only the heading first: a file that is not a Download.MFD writes nothing.
    if (!binario::leCabecalho(*fonte, cabecalho)) return {-1, 0, 0, 0};
    // Another user's data, or a range the file holds no document of, is
    // refused as the printer refuses it, and leaves no file.
    if (cabecalho.cabecalho.usuario != *u) return semDados();
    bool algum = false;
    const espelho::Identificacao id{cabecalho.cabecalho.serie, cabecalho.cabecalho.modelo, *u, faixa, wallNow()};
    const espelho::Fonte leitura = [&](const auto& documento, const auto& cupom) {
        binario::Leitura l;
        bool incluido = false;
        return binario::le(
            *fonte, l,
            [&](const Documento& d) {
                incluido = entra(d);
                algum = algum || incluido;
                if (incluido) documento(d);
            },
            [&](const Cupom& c) {
                if (incluido && cupom) cupom(c);
            });
    };
    const auto formatoSaida = f == "0"   ? espelho::Formato::Texto
                              : f == "1" ? espelho::Formato::Rtf
                                         : espelho::Formato::Banco;
    ArquivoAssinado saida(*arquivo);
    if (!espelho::escreve(formatoSaida, saida, id, leitura, ead::kChave1, ead::kChave2)) return {-1, 0, 0, 0};
    if (!algum) return semDados();
    return saida.publica() ? ok() : Resposta{-1, 0, 0, 0};
}

Resposta downloadMf(Sessao& s, const char* arquivo) {
    const auto destino = caminho(arquivo);
    if (!destino || destinoRecusado(s, *destino)) return invalido();
    Impressora& imp = *s.imp;
    return imp.consulta([&](Memoria& m) -> Resposta {
        ArquivoAssinado f(*destino);
        if (!f.aberto()) return {-1, 0, 0, 0};
        f.escreve(binario::cabecalho(binario::kAssinaturaMf, cabecalhoBinario(imp, 1, 'M', Faixa{})));
        const int64_t n = m.percorreReducoes([&](const Reducao& r) { f.escreve(binario::reducao(r)); });
        f.escreve(binario::fim(0, static_cast<uint32_t>(n)));
        return f.fecha(ead::kChave1, ead::kChave2) && f.publica() ? ok() : Resposta{-1, 0, 0, 0};
    });
}

}  // namespace kesafi::dados
