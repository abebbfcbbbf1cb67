// The test control of the virtual printer (kesafi_virtual.h): steering the
// printer and its clock, forcing answers, and reading its counters and tape.
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "impressora.h"
#include "kesafi_virtual.h"
#include "relogio.h"
#include "sessao.h"
#include "texto.h"

using namespace kesafi;

namespace {

int documentosDeVenda(int quantidade, bool recebimentos) {
    if (quantidade <= 0) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    if (!s.ligada) return 0;
    Impressora* imp = garanteMemoria(s);
    if (!imp) return -1;
    const Resposta r = recebimentos ? imp->recebimentos(quantidade) : imp->vendas(quantidade);
    defineStatus(s, r);
    return r.retorno;
}

// The printer whose tape a read of the tape reaches, as a command would reach
// it; `retorno` is the answer otherwise.
Impressora* fitaAlcancavel(Sessao& s, int& retorno) {
    retorno = !s.portaAberta || !s.imp ? -5 : !s.ligada ? 0 : s.imp->danificada() ? -1 : 1;
    return retorno == 1 ? s.imp.get() : nullptr;
}

}  // namespace

extern "C" {

KESAFI_API int KESAFI_CALL KesafiVirtual_DefinePastaBase(const char* pasta) {
    if (!pasta || !*pasta) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    s.reinicia(pasta);
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_CriaImpressora(const char* pasta, int semente) {
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    const std::string configurada = s.configuracao().pastaMemoria();
    const std::string alvo = (pasta && *pasta) ? std::string(pasta) : configurada;
    if (s.imp && mesmaPasta(s.imp->pasta(), alvo)) s.imp.reset();
    std::unique_ptr<Impressora> nova;
    if (Impressora::substitui(alvo, semente, wallNow(), nova) != Acesso::Pronta) return -1;
    if (mesmaPasta(alvo, configurada)) s.imp = std::move(nova);
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_DefineDeslocamentoRelogio(long long segundos) {
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    Impressora* imp = garanteMemoria(s);
    if (!imp) return -1;
    return imp->defineDeslocamento(segundos).retorno == 1 ? 1 : -1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_FixaRelogio(const char* ddmmyyyyhhmmss) {
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    std::optional<int64_t> hora;
    if (ddmmyyyyhhmmss && *ddmmyyyyhhmmss) {
        hora = parseStamp(ddmmyyyyhhmmss);
        if (!hora) return -2;
    }
    Impressora* imp = garanteMemoria(s);
    if (!imp) return -1;
    return imp->fixaRelogio(hora).retorno == 1 ? 1 : -1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_IntervencaoTecnica(void) {
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    if (!s.ligada) return 0;
    Impressora* imp = garanteMemoria(s);
    if (!imp) return -1;
    const Resposta r = imp->intervencaoTecnica();
    defineStatus(s, r);
    return r.retorno;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_Liga(int ligada) {
    if (ligada != 0 && ligada != 1) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    s.ligada = ligada == 1;
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_Conecta(const char* porta) {
    if (!porta) return -2;
    const std::string v = maiusculas(porta);
    if (v != "USB" && v != "SERIAL" && !v.empty()) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    const std::string valor = v == "USB" ? "USB" : (v.empty() ? "" : "Serial");
    if (!s.configuracao().conecta(valor)) return -1;
    // The cable moved: an open port on the other side no longer reaches the printer.
    if (s.portaAberta) {
        const Porta aberta = maiusculas(s.portaSistema) == "USB" ? Porta::Usb : Porta::Serial;
        if (s.configuracao().portaConectada() != aberta) s.portaAberta = false;
    }
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_ForcaResposta(int retorno, int ack, int st1, int st2, int st3) {
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    s.forcados.push_back({retorno, ack, st1, st2, st3});
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_ForcaBufferLixo(const char* bytes, int tamanho) {
    if (!bytes || tamanho <= 0) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    s.lixos.emplace_back(bytes, static_cast<size_t>(tamanho));
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_ForcaEstadoGaveta(int estado) {
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    s.gavetas.push_back(estado);
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_LimpaForcados(void) {
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    s.forcados.clear();
    s.lixos.clear();
    s.gavetas.clear();
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_AdicionaVendas(int quantidade) { return documentosDeVenda(quantidade, false); }

KESAFI_API int KESAFI_CALL KesafiVirtual_AdicionaRecebimentos(int quantidade) {
    return documentosDeVenda(quantidade, true);
}

KESAFI_API int KESAFI_CALL KesafiVirtual_DeixaDocumentoAberto(const char* documento) {
    const auto aberto = documento ? documentoAberto(documento) : std::nullopt;
    if (!aberto) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    if (!s.ligada) return 0;
    Impressora* imp = garanteMemoria(s);
    if (!imp) return -1;
    const Resposta r = imp->deixaAberto(*aberto);
    defineStatus(s, r);
    return r.retorno;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_LeFita(int documentos, char* destino, int tamanho) {
    if (documentos <= 0 || !destino || tamanho <= 0) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    Impressora* imp = memoriaLegivel(s);
    if (!imp) return -1;
    std::string fita;
    try {
        for (const Documento& d : imp->memoria().documentosAte(INT64_MAX, documentos)) {
            fita += "COO " + digits(d.coo, 6) + " " + d.tipo + " " + ddmmyyyy(d.dataHora) + " " + hhmmss(d.dataHora) +
                    "\r\n";
            fita += d.texto;
        }
    } catch (const std::exception&) {
        return -1;
    }
    const size_t n = std::min(fita.size(), static_cast<size_t>(tamanho - 1));
    std::memcpy(destino, fita.data(), n);
    destino[n] = '\0';
    return static_cast<int>(std::min<size_t>(fita.size(), 0x7fffffff));
}

KESAFI_API int KESAFI_CALL KesafiVirtual_FitaLimites(long long* primeiro, long long* ultimo) {
    if (!primeiro || !ultimo) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    int retorno = 0;
    Impressora* imp = fitaAlcancavel(s, retorno);
    if (!imp) return retorno;
    try {
        const auto e = imp->memoria().extensao();
        *primeiro = e ? e->first : 0;
        *ultimo = e ? e->second : 0;
    } catch (const std::exception&) {
        return -1;
    }
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_FitaLe(long long numero, int sentido, int quantidade, char* destino,
                                                int capacidade, int* bytes) {
    if ((sentido != 1 && sentido != -1) || quantidade < 1 || quantidade > 1000 || !destino || capacidade <= 0 || !bytes)
        return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    int retorno = 0;
    Impressora* imp = fitaAlcancavel(s, retorno);
    if (!imp) return retorno;
    std::string pagina;
    try {
        Memoria& m = imp->memoria();
        for (const Documento& d :
             sentido == 1 ? m.documentosDesde(numero, quantidade) : m.documentosAte(numero, quantidade)) {
            pagina += std::to_string(d.id) + " " + digits(d.coo, 6) + " " + d.tipo + " " + ddmmyyyy(d.dataHora) + " " +
                      hhmmss(d.dataHora) + " " + std::to_string(d.texto.size()) + "\r\n";
            pagina += d.texto;
        }
    } catch (const std::exception&) {
        return -1;
    }
    if (pagina.size() > 0x7ffffffe) return -1;
    *bytes = static_cast<int>(pagina.size());
    if (pagina.size() >= static_cast<size_t>(capacidade)) return -3;
    std::memcpy(destino, pagina.data(), pagina.size());
    destino[pagina.size()] = '\0';
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_FitaProcura(int porData, long long inicial, long long final,
                                                     long long* numero) {
    if ((porData != 0 && porData != 1) || !numero) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    int retorno = 0;
    Impressora* imp = fitaAlcancavel(s, retorno);
    if (!imp) return retorno;
    try {
        const Faixa faixa{porData ? Faixa::Tipo::Data : Faixa::Tipo::Coo, inicial, final};
        *numero = imp->memoria().primeiroDocumento(faixa).value_or(0);
    } catch (const std::exception&) {
        return -1;
    }
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_LeTextos(char* destino, int tamanho) {
    if (!destino || tamanho <= 0) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    const size_t n = std::min(s.textos.size(), static_cast<size_t>(tamanho - 1));
    std::memcpy(destino, s.textos.data(), n);
    destino[n] = '\0';
    return static_cast<int>(std::min<size_t>(s.textos.size(), 0x7fffffff));
}

KESAFI_API int KESAFI_CALL KesafiVirtual_LeContador(const char* nome, long long* valor) {
    if (!nome || !valor) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    const std::string n(nome);
    if (n == "RetornoEstendido") {
        *valor = s.estendido ? 1 : 0;
        return 1;
    }
    if (n == "PortaAberta") {
        *valor = s.portaAberta ? 1 : 0;
        return 1;
    }
    Impressora* imp = memoriaLegivel(s);
    if (!imp) return -1;
    // The printer's fields that have a counter name (estado.h), then what is
    // worked out from them.
    bool achado = false;
    camposEstado(imp->estado(), [&](std::string_view, const auto& campo, const char* contador = nullptr) {
        if constexpr (std::is_arithmetic_v<std::decay_t<decltype(campo)>>) {
            if (contador && n == contador) {
                *valor = static_cast<long long>(campo);
                achado = true;
            }
        }
    });
    if (achado) return 1;
    const std::pair<const char*, long long> calculados[] = {
        {"ReducoesRestantes", imp->reducoesRestantes()},
        {"FlagsFiscais", imp->flags()},
        {"Gaveta", imp->estadoGaveta()},
    };
    for (const auto& [nome, v] : calculados) {
        if (n == nome) {
            *valor = v;
            return 1;
        }
    }
    if (n != "Documentos" && n != "Reducoes") return -2;
    try {
        *valor = n == "Documentos" ? imp->memoria().contaDocumentos() : imp->memoria().contaReducoes();
    } catch (const std::exception&) {
        return -1;
    }
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_ContaChamadas(const char* funcao, int* quantidade) {
    if (!quantidade) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    if (!funcao) {
        *quantidade = s.totalChamadas;
        return 1;
    }
    std::string nome(funcao);
    if (nome.rfind("Kestrona_FI_", 0) == 0) nome = nome.substr(12);
    auto it = s.chamadas.find(nome);
    *quantidade = it == s.chamadas.end() ? 0 : it->second;
    return 1;
}

}  // extern "C"
