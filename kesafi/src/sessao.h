// The library's side of every call: the session (the port, the extended
// return, the last status), the forced answers and garbage buffers of the
// test control, and the common path each Kestrona_FI_* call runs through.
#pragma once

#include <cstring>
#include <deque>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "configuracao.h"
#include "impressora.h"

namespace kesafi {

// The library's version, as VersaoDll answers it.
inline constexpr const char* kVersaoDll = "01.00.001";

struct Status {
    int ack = 0, st1 = 0, st2 = 0, st3 = 0;
};

struct Forcado {
    int retorno, ack, st1, st2, st3;
};

struct Sessao {
    std::mutex m;
    std::string base;          // installation folder, trailing separator
    std::string portaSistema;  // [Sistema] Porta as last loaded
    bool portaCarregada = false;
    bool portaAberta = false;
    bool ligada = true;
    bool estendido = false;
    Status status;
    std::deque<Forcado> forcados;
    std::deque<std::string> lixos;
    std::deque<int> gavetas;  // drawer readings forced by the test control
    std::string textos;       // text arguments of the latest call that took texts
    std::map<std::string, int> chamadas;
    int totalChamadas = 0;
    std::unique_ptr<Impressora> imp;

    Configuracao configuracao() const { return Configuracao(base); }
    void carregaPorta();
    // Forgets everything held in memory; the printer's memory closes.
    void reinicia(std::string novaBase);
};

Sessao& sessao();

// The printer of the configured memory folder, opened (or created) on demand;
// null when another process holds its memory or the system refused to open it
// (`acesso` tells which).
Impressora* garanteMemoria(Sessao& s, Acesso* acesso = nullptr);
// The same, for the test control that reads the printer's memory.
Impressora* memoriaLegivel(Sessao& s);

bool mesmaPasta(const std::string& a, const std::string& b);

// "Cupom", "NaoFiscal" or "Gerencial" (any case): the document to leave open
// ([Virtual] DocumentoAberto, KesafiVirtual_DeixaDocumentoAberto).
std::optional<Impressora::Aberto> documentoAberto(std::string_view nome);

// The status read after a command, from its answer.
void defineStatus(Sessao& s, const Resposta& r);

// Writes an answer into a caller buffer: as many characters as the buffer
// holds before its terminating zero, never more than the field's width.
void escreve(char* buf, size_t largura, std::string_view dados);

struct Saida {
    char* p;
    size_t largura;
};

// Who answers a call: the library alone; the printer from its firmware (a
// damaged fiscal memory does not stop it); the printer from its memory.
enum class Alvo { Biblioteca, Firmware, Impressora };

inline Resposta invalido() { return {-2, 0, 0, 0}; }
// A text the printer cannot store (texto.h, gravavel) sent for its tables:
// refused as a bad parameter, with its answer "Parâmetro Inválido" and "TIPO
// DE PARÂMETRO INVÁLIDO"; nothing changes.
inline Resposta textoRecusado() {
    return {-2, KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_TIPO_DE_PARAMETRO_INVALIDO};
}
inline Resposta ok() { return {}; }

// Common path of every Kestrona_FI_* call: counting, forced answers and
// garbage buffers, argument checks, port and power, then the body.
template <class F>
int chama(const char* nome, Alvo alvo, std::initializer_list<Saida> saidas, F&& corpo) {
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    ++s.chamadas[nome];
    ++s.totalChamadas;
    if (!s.forcados.empty()) {
        const Forcado f = s.forcados.front();
        s.forcados.pop_front();
        s.status = {f.ack, f.st1, f.st2, f.st3};
        return f.retorno;
    }
    for (const Saida& o : saidas) {
        if (!o.p) {
            s.status = {};
            return -2;
        }
    }
    if (saidas.size() && !s.lixos.empty()) {
        const std::string lixo = s.lixos.front();
        s.lixos.pop_front();
        for (const Saida& o : saidas) {
            const size_t n = strnlen(o.p, o.largura);
            for (size_t i = 0; i < n; ++i) o.p[i] = lixo[i % lixo.size()];
        }
        s.status = {KESAFI_ACK, 0, 0, 0};
        return 1;
    }
    if (alvo != Alvo::Biblioteca) {
        if (!s.portaAberta || !s.imp) {
            s.status = {};
            return -5;
        }
        if (!s.ligada) {  // nothing answers: a communication error
            s.status = {};
            return 0;
        }
    }
    Resposta r;
    try {
        r = alvo == Alvo::Impressora && s.imp->danificada() ? memoriaDanificada() : corpo(s);
    } catch (const std::exception&) {
        r = {-1, 0, 0, 0};
    }
    defineStatus(s, r);
    return r.retorno;
}

}  // namespace kesafi
