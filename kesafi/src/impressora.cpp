#include "impressora.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "relogio.h"
#include "sorteio.h"
#include "texto.h"

namespace kesafi {
namespace {

// Blank-padded stored name: first 15 characters, trailing blanks removed.
std::string nomeGuardado(std::string_view nome) {
    std::string s(nome.substr(0, 15));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

bool vazio(std::string_view nome) { return trimmed(nome).empty(); }

bool mesmoNome(std::string_view a, std::string_view b) {
    a = trimmed(a);
    b = trimmed(b);
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto low = [](unsigned char ch) { return (ch >= 'A' && ch <= 'Z') ? ch + 32 : ch; };
        if (low(static_cast<unsigned char>(a[i])) != low(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

int64_t agoraDe(const Estado& e) { return (e.fixo ? *e.fixo : wallNow()) + e.deslocamento; }

bool pendente(const Estado& e, int64_t agora) { return e.movimento != 0 && e.movimento < dayOf(agora); }
bool fechado(const Estado& e, int64_t agora) { return e.bloqueado != 0 && dayOf(agora) <= e.bloqueado; }

std::string serieDe(int semente) {
    const int64_t n = 10247 + static_cast<int64_t>(semente < 0 ? -semente : semente) * 7919;
    return "VF08" + digits(n, 16);
}

}  // namespace

// ---------------------------------------------------------------- printer

Acesso Impressora::abre(const std::string& pasta, int semente, int64_t hoje, std::unique_ptr<Impressora>& saida) {
    return monta(pasta, Memoria::abre(pasta), semente, hoje, saida);
}

Acesso Impressora::substitui(const std::string& pasta, int semente, int64_t hoje, std::unique_ptr<Impressora>& saida) {
    return monta(pasta, Memoria::substitui(pasta), semente, hoje, saida);
}

Acesso Impressora::monta(const std::string& pasta, Memoria::Abertura a, int semente, int64_t hoje,
                         std::unique_ptr<Impressora>& saida) {
    const std::string arquivo = Memoria::arquivo(pasta);
    if (a.situacao == Memoria::Situacao::EmUso) {
        std::fprintf(stderr, "KESAFI32: memória em uso por outro processo: %s\n", arquivo.c_str());
        return Acesso::EmUso;
    }
    std::unique_ptr<Impressora> p(new Impressora());
    p->pasta_ = pasta;
    p->trava_ = std::move(a.trava);
    p->mem_ = std::move(a.memoria);
    try {
        switch (a.situacao) {
            case Memoria::Situacao::Aberta:
                p->recarrega();
                break;
            case Memoria::Situacao::Nova:
                p->fabrica(semente, hoje);
                break;
            case Memoria::Situacao::Ilegivel:
                p->danifica(a.motivo);
                break;
            default:
                throw std::runtime_error(a.motivo);
        }
    } catch (const MemoriaIlegivel& e) {
        p->danifica(e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "KESAFI32: não foi possível abrir a memória: %s: %s\n", arquivo.c_str(), e.what());
        return Acesso::Falhou;
    }
    saida = std::move(p);
    return Acesso::Pronta;
}

void Impressora::danifica(const std::string& motivo) {
    std::fprintf(stderr, "KESAFI32: memória fiscal ilegível: %s: %s\n", Memoria::arquivo(pasta_).c_str(),
                 motivo.c_str());
    if (mem_) mem_->abandona();
    mem_.reset();
    e_ = {};
    t_ = {};
    ultima_.reset();
}

void Impressora::recarrega() {
    e_ = mem_->carregaEstado();
    t_ = mem_->carregaTabelas();
    ultima_ = mem_->ultimaReducao();
}

void Impressora::fabrica(int semente, int64_t hoje) {
    Memoria* mem = mem_.get();
    Estado e;
    Tabelas t;
    std::optional<Reducao> u;
    {
        Transacao tx(*mem);
        e.serie = serieDe(semente);
        e.semente = semente;
        Contexto c{*mem, e, t, u, 0};
        Sorteio rng{static_cast<uint64_t>(semente) * 2654435761ULL + 17};
        const int dias = 5 + static_cast<int>(static_cast<unsigned>(semente) % 3);
        const int64_t inicio = startOfDay(dayOf(hoje)) - static_cast<int64_t>(dias) * 86400;

        // Factory tables, then the tables programmed at the printer's first intervention.
        t.formas[0] = {"Dinheiro", false};
        t.relatorios[0] = "Relatorio Geral";
        t.totalizadores[28] = "Sangria";
        t.totalizadores[29] = "Suprimento";
        c.agora = inicio - 86400 + 15 * 3600;
        t.aliquotas[0] = {semente % 2 ? 1700 : 1800, false};
        t.aliquotas[1] = {1200, false};
        t.aliquotas[2] = {500, true};
        t.formas[1] = {"Cartao Credito", true};
        t.formas[2] = {"Cartao Debito", true};
        t.totalizadores[0] = "Crediario";
        t.relatorios[1] = "Fechamento Cx";
        mem->gravaTabelas(t);
        e.cadastro = c.agora;
        op::rastro(c, tipos::kProgramacao, "PROGRAMAÇÃO INICIAL DAS TABELAS (INTERVENÇÃO TÉCNICA)");

        for (int k = 0; k < dias; ++k) {
            const int64_t dia = inicio + static_cast<int64_t>(k) * 86400;
            c.agora = dia + 8 * 3600 + rng.faixa(0, 20) * 60 + rng.faixa(0, 59);
            op::leituraX(c, nullptr);
            c.agora += rng.faixa(3, 9) * 60;
            op::recebimento(c, 30, 10000);
            const int vendas = rng.faixa(6, 12);
            for (int v = 0; v < vendas; ++v) {
                c.agora = dia + 8 * 3600 + 1800 + (v + 1) * (12 * 3600 / (vendas + 1)) + rng.faixa(0, 900);
                op::venda(c);
                if (k == 1 && v == 2) {
                    c.agora += rng.faixa(30, 200);
                    op::cancelaCupom(c);
                }
            }
            if (k == dias - 2) {
                c.agora = dia + 20 * 3600 + 45 * 60;
                op::abreRelatorio(c, 2);
                c.agora += 20;
                op::usaRelatorio(c, cp1252("CONFERÊNCIA DE CAIXA\r\nOPERADOR: 001\r\nFUNDO DE TROCO: 100,00\r\n"
                                           "DIFERENÇA APURADA: 0,00"));
                c.agora += 10;
                op::fechaRelatorio(c);
            }
            c.agora = dia + 21 * 3600 + rng.faixa(0, 15) * 60;
            const int64_t caixa = e.dia.formas[0];
            if (caixa > 5000) op::recebimento(c, 29, (caixa - 5000) / 1000 * 1000);
            c.agora = dia + 22 * 3600 + rng.faixa(0, 40) * 60 + rng.faixa(0, 59);
            op::reducao(c);
        }
        mem->gravaEstado(e);
        tx.confirma();
    }
    e_ = std::move(e);
    t_ = std::move(t);
    ultima_ = std::move(u);
}

template <class F>
Resposta Impressora::muda(F&& f) {
    if (danificada()) return memoriaDanificada();
    Estado e = e_;
    Tabelas t = t_;
    std::optional<Reducao> u = ultima_;
    try {
        Transacao tx(*mem_);
        Contexto c{*mem_, e, t, u, agoraDe(e)};
        Resposta r = f(c);
        if (r.retorno != 1) return r;
        mem_->gravaEstado(e);
        tx.confirma();
    } catch (const Recusa& r) {
        return r.resposta;
    } catch (const MemoriaIlegivel& ex) {
        // Found while the command ran (a page or a record read for the first
        // time): the command is undone and the memory is not touched again.
        danifica(ex.what());
        return memoriaDanificada();
    } catch (const std::exception&) {
        return {-1, 0, 0, 0};
    }
    e_ = std::move(e);
    t_ = std::move(t);
    ultima_ = std::move(u);
    return {};
}

Resposta Impressora::consulta(const std::function<Resposta(Memoria&)>& leitura) {
    if (danificada()) return memoriaDanificada();
    try {
        return leitura(*mem_);
    } catch (const MemoriaIlegivel& ex) {
        danifica(ex.what());
        return memoriaDanificada();
    }
}

int64_t Impressora::agora() const { return agoraDe(e_); }

int Impressora::flags() const {
    int f = 0;
    if (cupomAberto()) f |= 1;
    if (e_.verao) f |= 4;
    if (fechado(e_, agora()) && !pendente(e_, agora())) f |= 8;
    if (e_.cupomCancelavel) f |= 32;
    if (reducoesRestantes() == 0) f |= 128;
    return f;
}

int Impressora::reducoesRestantes() const {
    return static_cast<int>(std::max<int64_t>(0, kCapacidadeReducoes - e_.cont.crz));
}

int Impressora::estadoGaveta() const { return agora() >= e_.gavetaAte ? 1 : 0; }

bool Impressora::cupomAberto() const { return e_.cupomAberto != 0; }

bool Impressora::relogioInvalido() const { return agora() < e_.ultimoDocHora; }

int64_t centesimosLivres(const Estado& e) {
    const int64_t livre = std::max<int64_t>(0, kCapacidadeMfd - e.bytesMfd);
    return std::min<int64_t>(livre * 10000 / kCapacidadeMfd, 9999);
}

Resposta Impressora::programaAliquota(int valor, bool iss) {
    return muda([&](Contexto& c) -> Resposta {
        if (valor == 0) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_ALIQUOTA_COM_VALOR_NULO);
        if (c.e.movimento) return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_JA_HOUVE_MOVIMENTO_NO_DIA);
        for (int i = 0; i < 16; ++i) {
            if (c.t.aliquotas[i].valor != 0) continue;
            c.t.aliquotas[i] = {valor, iss};
            c.mem.gravaAliquota(i + 1, c.t.aliquotas[i]);
            op::rastro(c, tipos::kProgramacao,
                       "ALÍQUOTA " + digits(i + 1, 2) + ": " + doc::taxa(valor) + (iss ? " ISS" : " ICMS"));
            return {};
        }
        return recusa(0, KESAFI_ST2_ALIQUOTA_ESGOTADA, KESAFI_ST3_TODAS_ALIQUOTAS_JA_PROGRAMADAS);
    });
}

Resposta Impressora::programaForma(std::string_view nome, bool vinculada) {
    return muda([&](Contexto& c) -> Resposta {
        if (vazio(nome)) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_NOME_EM_BRANCO);
        if (c.e.movimento) return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_JA_HOUVE_MOVIMENTO_NO_DIA);
        const std::string guardado = nomeGuardado(nome);
        for (const auto& f : c.t.formas)
            if (!f.nome.empty() && mesmoNome(f.nome, guardado))
                return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_FORMA_DE_PAGAMENTO_JA_PROGRAMADA);
        for (int i = 0; i < 20; ++i) {
            if (!c.t.formas[i].nome.empty()) continue;
            c.t.formas[i] = {guardado, vinculada};
            c.mem.gravaForma(i + 1, c.t.formas[i]);
            op::rastro(c, tipos::kProgramacao,
                       "FORMA DE PAGAMENTO " + digits(i + 1, 2) + (vinculada ? " (V)" : " (N)"));
            return {};
        }
        return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_SEM_ESPACO_PARA_FORMAS_DE_PAGAMENTO);
    });
}

Resposta Impressora::nomeiaTotalizador(int indice, std::string_view nome) {
    return muda([&](Contexto& c) -> Resposta {
        if (indice < 1 || indice > 30)
            return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_NUMERO_DO_TOTALIZADOR_INVALIDO);
        if (vazio(nome)) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_NOME_EM_BRANCO);
        if (c.e.movimento) return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_JA_HOUVE_MOVIMENTO_NO_DIA);
        if (!c.t.totalizadores[indice - 1].empty())
            return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_TOTALIZADOR_NAO_FISCAL_JA_PROGRAMADO);
        const std::string guardado = nomeGuardado(nome);
        if (mesmoNome(guardado, "Sangria") || mesmoNome(guardado, "Suprimento"))
            return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_DESCRICAO_IGUAL_A_DEFAULT);
        c.t.totalizadores[indice - 1] = guardado;
        c.mem.gravaTotalizador(indice, guardado);
        op::rastro(c, tipos::kProgramacao, "TOTALIZADOR NÃO FISCAL " + digits(indice, 2));
        return {};
    });
}

Resposta Impressora::nomeiaRelatorio(int indice, std::string_view nome) {
    return muda([&](Contexto& c) -> Resposta {
        if (indice < 1 || indice > 30)
            return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_NUMERO_DO_RELATORIO_INVALIDO);
        if (vazio(nome)) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_NOME_EM_BRANCO);
        if (c.e.movimento) return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_JA_HOUVE_MOVIMENTO_NO_DIA);
        if (!c.t.relatorios[indice - 1].empty())
            return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_RELATORIO_GERENCIAL_JA_PROGRAMADO);
        c.t.relatorios[indice - 1] = nomeGuardado(nome);
        c.mem.gravaRelatorio(indice, c.t.relatorios[indice - 1]);
        op::rastro(c, tipos::kProgramacao, "RELATÓRIO GERENCIAL " + digits(indice, 2));
        return {};
    });
}

Resposta Impressora::leituraX(std::string* texto) {
    return muda([&](Contexto& c) { return op::leituraX(c, texto); });
}

Resposta Impressora::reducaoZ(std::optional<int64_t> horaInformada) {
    return muda([&](Contexto& c) -> Resposta {
        if (horaInformada) {
            // The printer follows the given clock by at most five minutes and
            // never goes back before its last document.
            int64_t ajuste = std::clamp<int64_t>(*horaInformada - c.agora, -300, 300);
            if (c.agora + ajuste < c.e.ultimoDocHora) ajuste = std::min<int64_t>(0, c.e.ultimoDocHora - c.agora);
            c.e.deslocamento += ajuste;
            c.agora += ajuste;
        }
        return op::reducao(c);
    });
}

Resposta Impressora::leituraMemoriaPorData(int inicial, int final, bool simplificada, std::string* texto) {
    return muda([&](Contexto& c) -> Resposta {
        if (auto r = op::semDocumentoAberto(c); r.retorno != 1) return r;
        if (inicial > final) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_INTERVALO_INVALIDO);
        const auto lista = c.mem.reducoesPorData(inicial, final);
        c.e.cont.coo++;
        c.e.cont.gnf++;
        const std::string t =
            doc::leituraMemoria(c, lista, simplificada, "PERÍODO: " + diaBarra(inicial) + " A " + diaBarra(final));
        op::emite(c, tipos::kLeituraMf, t, false);
        if (texto) *texto = t;
        return {};
    });
}

Resposta Impressora::leituraMemoriaPorReducao(int inicial, int final, bool simplificada, std::string* texto) {
    return muda([&](Contexto& c) -> Resposta {
        if (auto r = op::semDocumentoAberto(c); r.retorno != 1) return r;
        if (inicial > final) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_INTERVALO_INVALIDO);
        const auto lista = c.mem.reducoesPorNumero(inicial, final);
        c.e.cont.coo++;
        c.e.cont.gnf++;
        const std::string t =
            doc::leituraMemoria(c, lista, simplificada, "REDUÇÕES: " + digits(inicial, 4) + " A " + digits(final, 4));
        op::emite(c, tipos::kLeituraMf, t, false);
        if (texto) *texto = t;
        return {};
    });
}

Resposta Impressora::horarioVerao() {
    return muda([&](Contexto& c) -> Resposta {
        if (auto r = op::semDocumentoAberto(c); r.retorno != 1) return r;
        if (!c.ultima || c.e.cont.coo != c.ultima->cont.coo)
            return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_HORARIO_DE_VERAO_SO_APOS_RZ);
        if (!c.e.verao) {
            c.e.deslocamento += 3600;
            c.agora += 3600;
            c.e.verao = true;
            op::rastro(c, tipos::kAjuste, "ENTRADA NO HORÁRIO DE VERÃO: RELÓGIO ADIANTADO 1 HORA");
        } else {
            if (c.agora - 3600 < c.e.ultimoDocHora)
                return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_DATA_E_HORA_ANTERIORES_AO_ULTIMO_DOC);
            c.e.deslocamento -= 3600;
            c.agora -= 3600;
            c.e.verao = false;
            op::rastro(c, tipos::kAjuste, "SAÍDA DO HORÁRIO DE VERÃO: RELÓGIO ATRASADO 1 HORA");
        }
        return {};
    });
}

Resposta Impressora::acionaGaveta() {
    return muda([&](Contexto& c) -> Resposta {
        c.e.gavetaAte = c.agora + 10;
        op::rastro(c, tipos::kGaveta, "ACIONAMENTO DA GAVETA");
        return {};
    });
}

Resposta Impressora::ativaGuilhotina(bool ativa) {
    return muda([&](Contexto& c) -> Resposta {
        c.e.guilhotina = ativa;
        op::rastro(c, tipos::kAjuste, ativa ? "GUILHOTINA ATIVADA" : "GUILHOTINA DESATIVADA");
        return {};
    });
}

Resposta Impressora::ativaCorteTotal(bool ativa) {
    return muda([&](Contexto& c) -> Resposta {
        c.e.corteTotal = ativa;
        op::rastro(c, tipos::kAjuste, ativa ? "CORTE TOTAL ATIVADO" : "CORTE TOTAL DESATIVADO");
        return {};
    });
}

Resposta Impressora::corta(int tipo) {
    return muda([&](Contexto& c) -> Resposta {
        if (!c.e.guilhotina) return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_COMANDO_NAO_EFETIVADO);
        const bool total = tipo == 0 && c.e.corteTotal;
        const std::string marca = cp1252(total ? "- - - - - - - - - - CORTE TOTAL - - - - - - - -\r\n"
                                               : "- - - - - - - - - CORTE PARCIAL - - - - - - - -\r\n");
        if (c.e.relatorioAberto) {
            op::acrescenta(c, c.e.relatorioAberto, marca);
        } else {
            op::rastro(c, tipos::kCorte, total ? "CORTE TOTAL DO PAPEL" : "CORTE PARCIAL DO PAPEL");
        }
        return {};
    });
}

Resposta Impressora::abreRelatorio(int indice) {
    return muda([&](Contexto& c) { return op::abreRelatorio(c, indice); });
}

Resposta Impressora::usaRelatorio(std::string_view texto) {
    return muda([&](Contexto& c) { return op::usaRelatorio(c, texto); });
}

Resposta Impressora::fechaRelatorio() {
    return muda([&](Contexto& c) { return op::fechaRelatorio(c); });
}

Resposta Impressora::espacoEntreLinhas(int pontos) {
    return muda([&](Contexto& c) -> Resposta {
        if (pontos < 0 || pontos > 127)
            return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_ESPACOS_FORA_DO_PERMITIDO);
        c.e.espacoLinhas = pontos;
        op::rastro(c, tipos::kAjuste, "ESPAÇO ENTRE LINHAS: " + std::to_string(pontos) + " PONTOS");
        return {};
    });
}

Resposta Impressora::linhasEntreCupons(int linhas) {
    return muda([&](Contexto& c) -> Resposta {
        if (linhas < 5 || linhas > 30)
            return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_ESPACOS_FORA_DO_PERMITIDO);
        c.e.linhasCupons = linhas;
        op::rastro(c, tipos::kAjuste, "LINHAS ENTRE CUPONS: " + std::to_string(linhas));
        return {};
    });
}

Resposta Impressora::cancelaCupom() {
    return muda([&](Contexto& c) { return op::cancelaCupom(c); });
}

Resposta Impressora::cancelaNaoFiscal() {
    return muda([&](Contexto& c) { return op::cancelaNaoFiscal(c); });
}

Resposta Impressora::deixaAberto(Aberto documento) {
    return muda([&](Contexto& c) -> Resposta {
        switch (documento) {
            case Aberto::Cupom:
                return op::abreCupom(c);
            case Aberto::NaoFiscal:
                return op::abreRecebimento(c, 30, 5000);
            case Aberto::Gerencial:
                if (auto r = op::abreRelatorio(c, 1); r.retorno != 1) return r;
                return op::usaRelatorio(c, cp1252("CONFERÊNCIA DE CAIXA EM ANDAMENTO"));
        }
        return {-2, 0, 0, 0};
    });
}

Resposta Impressora::imprimeConfiguracao() {
    return muda([&](Contexto& c) -> Resposta {
        if (auto r = op::semDocumentoAberto(c); r.retorno != 1) return r;
        c.e.cont.coo++;
        c.e.cont.gnf++;
        op::emite(c, tipos::kConfiguracao, doc::configuracao(c), false);
        return {};
    });
}

Resposta Impressora::tratamentoOffLine(int modo) {
    return muda([&](Contexto& c) -> Resposta {
        c.e.offline = modo;
        op::rastro(c, tipos::kAjuste, "TRATAMENTO OFF-LINE: MODO " + std::to_string(modo));
        return {};
    });
}

Resposta Impressora::vendas(int quantidade) {
    return muda([&](Contexto& c) -> Resposta {
        for (int i = 0; i < quantidade; ++i) {
            Resposta r = op::venda(c);
            if (r.retorno != 1) return r;
        }
        return {};
    });
}

Resposta Impressora::recebimentos(int quantidade) {
    return muda([&](Contexto& c) -> Resposta {
        for (int i = 0; i < quantidade; ++i) {
            Resposta r = op::recebimento(c, 30, 5000);
            if (r.retorno != 1) return r;
        }
        return {};
    });
}

Resposta Impressora::defineDeslocamento(int64_t segundos) {
    return muda([&](Contexto& c) -> Resposta {
        c.e.deslocamento = segundos;
        return {};
    });
}

Resposta Impressora::intervencaoTecnica() {
    return muda([&](Contexto& c) -> Resposta {
        if (auto r = op::semDocumentoAberto(c); r.retorno != 1) return r;
        if (c.e.movimento)
            return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_AGUARDANDO_RZ_PARA_INTERVENCAO);
        c.e.cont.cro++;
        op::rastro(c, tipos::kIntervencao, "INTERVENÇÃO TÉCNICA: REINÍCIO DE OPERAÇÃO CRO " + digits(c.e.cont.cro, 4));
        return {};
    });
}

Resposta Impressora::fixaRelogio(std::optional<int64_t> hora) {
    return muda([&](Contexto& c) -> Resposta {
        if (hora)
            c.e.fixo = *hora - c.e.deslocamento;
        else
            c.e.fixo.reset();
        return {};
    });
}

// ---------------------------------------------------------------- answers

std::string Impressora::respostaFormas() const {
    std::string out;
    for (int i = 0; i < 20; ++i) {
        const auto& f = t_.formas[i];
        const int64_t acumulado = e_.dia.formas[static_cast<size_t>(i)];
        out += padRight(f.nome, 16);
        out += ',';
        out += digits(std::max<int64_t>(0, acumulado), 20);
        out += ',';
        out += digits(0, 17);
        out += ',';
        out += f.nome.empty() ? '0' : (f.vinculada ? '1' : '0');
        out += ',';
    }
    return padRight(out, KESAFI_LARGURA_FORMAS_PAGAMENTO);
}

std::string Impressora::respostaAliquotas() const {
    std::string out;
    for (int i = 0; i < 16; ++i) {
        if (i) out += ',';
        out += digits(t_.aliquotas[i].valor, 4);
    }
    return out;
}

std::string Impressora::respostaIndicesIss() const {
    std::string out;
    for (int i = 0; i < 16; ++i)
        if (t_.aliquotas[i].valor != 0 && t_.aliquotas[i].iss) out += digits(i + 1, 2) + ",";
    return padRight(out, KESAFI_LARGURA_INDICES_ISS);
}

std::string Impressora::respostaTotalizadores() const {
    std::string out;
    for (int i = 0; i < 30; ++i) {
        out += padRight(t_.totalizadores[i], 19);
        out += ',';
        out += digits(e_.dia.operacoesNaoFiscais[static_cast<size_t>(i)], 4);
        out += ',';
        out += digits(std::max<int64_t>(0, e_.dia.naoFiscais[static_cast<size_t>(i)]), 8);
        out += ',';
    }
    return padRight(out, KESAFI_LARGURA_RECEBIMENTOS);
}

std::string Impressora::respostaRelatorios() const {
    std::string out;
    for (int i = 0; i < 30; ++i) {
        if (i) out += ',';
        out += digits(e_.relatoriosEmitidos[static_cast<size_t>(i)], 4);
        out += padRight(t_.relatorios[i], 17);
    }
    return padRight(out, KESAFI_LARGURA_RELATORIOS_GERENCIAIS);
}

std::string Impressora::respostaUltimaReducao() const { return registroReducao(ultima_ ? &*ultima_ : nullptr); }

std::string Impressora::respostaPercentualLivre() const {
    const int64_t centesimos = centesimosLivres(e_);
    return digits(centesimos / 100, 2) + "," + digits(centesimos % 100, 2) + "%";
}

}  // namespace kesafi
