// The exported Kestrona_FI_* functions: each one checks and converts its
// arguments, runs through the session's common path (sessao.h) and hands the
// command to the printer or to the memory-data functions, laying out its
// answer in the caller's buffers.
#include <cstring>
#include <string>

#include "dados_mfd.h"
#include "impressora.h"
#include "kesafi32.h"
#include "profile/ini.h"
#include "relogio.h"
#include "sessao.h"
#include "texto.h"

namespace kesafi {
namespace {

// [Virtual] DocumentoAberto: each opening of the port finds that document
// open, as a point-of-sale program that stopped in the middle of it left it,
// unless the printer holds an open document already (it then refuses).
void abreDocumentoConfigurado(Sessao& s) {
    const auto documento = documentoAberto(s.configuracao().documentoAberto());
    if (documento) s.imp->deixaAberto(*documento);
}

// Keeps the text arguments of a call as received, before anything else
// looks at them: each in double quotes, NULL for a null pointer.
void anotaTextos(std::initializer_list<const char*> textos) {
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    s.textos.clear();
    for (const char* t : textos) {
        if (!s.textos.empty()) s.textos += ',';
        s.textos += t ? '"' + std::string(t) + '"' : std::string("NULL");
    }
}

int gravaRetorno(const Sessao& s, const std::string& texto) {
    return profile::replaceFile(s.configuracao().pastaDeSaida() + "Retorno.txt", texto) ? 1 : -8;
}

bool soDigitos(std::string_view v) {
    if (v.empty()) return false;
    for (char ch : v)
        if (ch < '0' || ch > '9') return false;
    return true;
}

// Reduction number as typed ("12  ", "0005"); 0 when it is no number.
int numeroReducao(const char* texto) {
    const std::string_view v = trimmed(texto);
    if (!soDigitos(v) || v.size() > 4) return 0;
    return std::stoi(std::string(v));
}

bool tipoLeitura(const char* tipo, bool& simplificada) {
    if (!tipo) return false;
    const std::string v = maiusculas(tipo);
    if (v != "C" && v != "S") return false;
    simplificada = v == "S";
    return true;
}

Resposta leituraPorData(Sessao& s, const char* inicial, const char* final, const char* tipo, bool serial) {
    bool simplificada = false;
    if (!inicial || !final || !tipoLeitura(tipo, simplificada)) return invalido();
    const auto ini = parseDate(trimmed(inicial));
    if (!ini) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_DATA_INICIAL_INVALIDA);
    const auto fim = parseDate(trimmed(final));
    if (!fim) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_DATA_FINAL_INVALIDA);
    std::string texto;
    Resposta r = s.imp->leituraMemoriaPorData(*ini, *fim, simplificada, serial ? &texto : nullptr);
    if (r.retorno == 1 && serial) r.retorno = gravaRetorno(s, texto);
    return r;
}

Resposta leituraPorReducao(Sessao& s, const char* inicial, const char* final, const char* tipo, bool serial) {
    bool simplificada = false;
    if (!inicial || !final || !tipoLeitura(tipo, simplificada)) return invalido();
    const int ini = numeroReducao(inicial);
    if (ini <= 0) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_REDUCAO_INICIAL_INVALIDA);
    const int fim = numeroReducao(final);
    if (fim <= 0) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_REDUCAO_FINAL_INVALIDA);
    std::string texto;
    Resposta r = s.imp->leituraMemoriaPorReducao(ini, fim, simplificada, serial ? &texto : nullptr);
    if (r.retorno == 1 && serial) r.retorno = gravaRetorno(s, texto);
    return r;
}

}  // namespace
}  // namespace kesafi

using namespace kesafi;

extern "C" {

// ------------------------------------------------------------ port and library

KESAFI_API int KESAFI_CALL Kestrona_FI_AbrePortaSerial(void) {
    return chama("AbrePortaSerial", Alvo::Biblioteca, {}, [](Sessao& s) -> Resposta {
        s.portaAberta = false;
        if (!s.configuracao().existe()) return {-4, 0, 0, 0};
        if (!s.portaCarregada) s.carregaPorta();
        const Porta pedida = maiusculas(s.portaSistema) == "USB" ? Porta::Usb : Porta::Serial;
        if (s.configuracao().portaConectada() != pedida) return {-5, 0, 0, 0};
        if (!s.ligada) return {-6, 0, 0, 0};
        // Another process with the memory open has the port, like a serial port already in use.
        Acesso acesso = Acesso::Pronta;
        if (!garanteMemoria(s, &acesso)) return {acesso == Acesso::EmUso ? -5 : -1, 0, 0, 0};
        s.portaAberta = true;
        abreDocumentoConfigurado(s);
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_FechaPortaSerial(void) {
    return chama("FechaPortaSerial", Alvo::Biblioteca, {}, [](Sessao& s) {
        s.portaAberta = false;
        s.imp.reset();
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_SelecionaIniLocal(void) {
    return chama("SelecionaIniLocal", Alvo::Biblioteca, {}, [](Sessao& s) -> Resposta {
        if (!s.configuracao().existe()) return {-4, 0, 0, 0};
        s.carregaPorta();
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ReloadINIFile(void) {
    return chama("ReloadINIFile", Alvo::Biblioteca, {}, [](Sessao& s) -> Resposta {
        if (!s.configuracao().existe()) return {-4, 0, 0, 0};
        s.carregaPorta();
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_RetornoImpressoraMFD(int* ack, int* st1, int* st2, int* st3) {
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    ++s.chamadas["RetornoImpressoraMFD"];
    ++s.totalChamadas;
    if (!ack || !st1 || !st2 || !st3) return -2;
    *ack = s.status.ack;
    *st1 = s.status.st1;
    *st2 = s.status.st2;
    *st3 = s.status.st3;
    return 1;
}

KESAFI_API int KESAFI_CALL Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD(const char* flag) {
    anotaTextos({flag});
    return chama("HabilitaDesabilitaRetornoEstendidoMFD", Alvo::Biblioteca, {}, [&](Sessao& s) {
        if (!flag || (std::strcmp(flag, "1") != 0 && std::strcmp(flag, "0") != 0)) return invalido();
        s.estendido = flag[0] == '1';
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_AtivaDesativaTratamentoONOFFLineMFD(int modo) {
    return chama("AtivaDesativaTratamentoONOFFLineMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        if (modo != 0 && modo != 1) return invalido();
        return s.imp->tratamentoOffLine(modo);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_VersaoDll(char* versao) {
    return chama("VersaoDll", Alvo::Biblioteca, {{versao, KESAFI_LARGURA_VERSAO_DLL}}, [&](Sessao&) {
        escreve(versao, KESAFI_LARGURA_VERSAO_DLL, kVersaoDll);
        return ok();
    });
}

// ------------------------------------------------------------ identity and state

KESAFI_API int KESAFI_CALL Kestrona_FI_NumeroSerieMFD(char* numeroSerie) {
    return chama("NumeroSerieMFD", Alvo::Impressora, {{numeroSerie, KESAFI_LARGURA_NUMERO_SERIE}}, [&](Sessao& s) {
        escreve(numeroSerie, KESAFI_LARGURA_NUMERO_SERIE, padRight(s.imp->estado().serie, KESAFI_LARGURA_NUMERO_SERIE));
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ModeloImpressora(char* modelo) {
    return chama("ModeloImpressora", Alvo::Firmware, {{modelo, KESAFI_LARGURA_MODELO}}, [&](Sessao&) {
        escreve(modelo, KESAFI_LARGURA_MODELO, padRight(kModelo, KESAFI_LARGURA_MODELO));
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_VersaoFirmwareMFD(char* versao) {
    return chama("VersaoFirmwareMFD", Alvo::Firmware, {{versao, KESAFI_LARGURA_VERSAO_FIRMWARE}}, [&](Sessao&) {
        escreve(versao, KESAFI_LARGURA_VERSAO_FIRMWARE, kFirmware);
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ReducoesRestantesMFD(char* reducoes) {
    return chama("ReducoesRestantesMFD", Alvo::Impressora, {{reducoes, KESAFI_LARGURA_REDUCOES_RESTANTES}},
                 [&](Sessao& s) {
                     escreve(reducoes, KESAFI_LARGURA_REDUCOES_RESTANTES,
                             digits(s.imp->reducoesRestantes(), KESAFI_LARGURA_REDUCOES_RESTANTES));
                     return ok();
                 });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_DataHoraUltimoDocumentoMFD(char* dataHora) {
    return chama("DataHoraUltimoDocumentoMFD", Alvo::Impressora, {{dataHora, KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC}},
                 [&](Sessao& s) {
                     const int64_t t = s.imp->estado().ultimoDocHora;
                     escreve(dataHora, KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC,
                             t ? ddmmyy(t) + hhmmss(t) : std::string(KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC, '0'));
                     return ok();
                 });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_DataHoraReducao(char* data, char* hora) {
    return chama("DataHoraReducao", Alvo::Impressora, {{data, KESAFI_LARGURA_DATA}, {hora, KESAFI_LARGURA_HORA}},
                 [&](Sessao& s) {
                     const auto& u = s.imp->ultimaReducao();
                     escreve(data, KESAFI_LARGURA_DATA, u ? ddmmyy(u->dataHora) : "000000");
                     escreve(hora, KESAFI_LARGURA_HORA, u ? hhmmss(u->dataHora) : "000000");
                     return ok();
                 });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_DataMovimento(char* data) {
    return chama("DataMovimento", Alvo::Impressora, {{data, KESAFI_LARGURA_DATA}}, [&](Sessao& s) {
        escreve(data, KESAFI_LARGURA_DATA, diaDdmmyy(s.imp->estado().movimento));
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_PercentualLivreMFD(char* percentual) {
    return chama("PercentualLivreMFD", Alvo::Impressora, {{percentual, KESAFI_LARGURA_PERCENTUAL_LIVRE}},
                 [&](Sessao& s) {
                     escreve(percentual, KESAFI_LARGURA_PERCENTUAL_LIVRE, s.imp->respostaPercentualLivre());
                     return ok();
                 });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_FlagsFiscais(int* flags) {
    return chama("FlagsFiscais", Alvo::Impressora, {}, [&](Sessao& s) {
        if (!flags) return invalido();
        *flags = s.imp->flags();
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_DataHoraImpressora(char* data, char* hora) {
    return chama("DataHoraImpressora", Alvo::Impressora, {{data, KESAFI_LARGURA_DATA}, {hora, KESAFI_LARGURA_HORA}},
                 [&](Sessao& s) {
                     const int64_t t = s.imp->agora();
                     escreve(data, KESAFI_LARGURA_DATA, ddmmyy(t));
                     escreve(hora, KESAFI_LARGURA_HORA, hhmmss(t));
                     return ok();
                 });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_NumeroCupom(char* coo) {
    return chama("NumeroCupom", Alvo::Impressora, {{coo, KESAFI_LARGURA_COO}}, [&](Sessao& s) {
        escreve(coo, KESAFI_LARGURA_COO, digits(s.imp->estado().cont.coo, KESAFI_LARGURA_COO));
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_DadosUltimaReducaoMFD(char* dados) {
    return chama("DadosUltimaReducaoMFD", Alvo::Impressora, {{dados, KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO}},
                 [&](Sessao& s) {
                     escreve(dados, KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO, s.imp->respostaUltimaReducao());
                     return ok();
                 });
}

// ------------------------------------------------------------ fiscal tables

KESAFI_API int KESAFI_CALL Kestrona_FI_RetornoAliquotas(char* aliquotas) {
    return chama("RetornoAliquotas", Alvo::Impressora, {{aliquotas, KESAFI_LARGURA_ALIQUOTAS}}, [&](Sessao& s) {
        escreve(aliquotas, KESAFI_LARGURA_ALIQUOTAS, s.imp->respostaAliquotas());
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaIndiceAliquotasIss(char* indices) {
    return chama("VerificaIndiceAliquotasIss", Alvo::Impressora, {{indices, KESAFI_LARGURA_INDICES_ISS}},
                 [&](Sessao& s) {
                     escreve(indices, KESAFI_LARGURA_INDICES_ISS, s.imp->respostaIndicesIss());
                     return ok();
                 });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ProgramaAliquota(const char* aliquota, int tipo) {
    anotaTextos({aliquota});
    return chama("ProgramaAliquota", Alvo::Impressora, {}, [&](Sessao& s) {
        if (!aliquota || (tipo != 0 && tipo != 1)) return invalido();
        const std::string_view v(aliquota);
        if (v.size() != 4 || !soDigitos(v)) return invalido();
        return s.imp->programaAliquota(std::stoi(std::string(v)), tipo == 1);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaFormasPagamento(char* formas) {
    return chama("VerificaFormasPagamento", Alvo::Impressora, {{formas, KESAFI_LARGURA_FORMAS_PAGAMENTO}},
                 [&](Sessao& s) {
                     escreve(formas, KESAFI_LARGURA_FORMAS_PAGAMENTO, s.imp->respostaFormas());
                     return ok();
                 });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ProgramaFormaPagamentoMFD(const char* nome, const char* vinculo) {
    anotaTextos({nome, vinculo});
    return chama("ProgramaFormaPagamentoMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        if (!nome || !vinculo || (std::strcmp(vinculo, "0") != 0 && std::strcmp(vinculo, "1") != 0)) return invalido();
        if (!gravavel(nome)) return textoRecusado();
        return s.imp->programaForma(nome, vinculo[0] == '1');
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaRecebimentoNaoFiscalMFD(char* recebimentos) {
    return chama("VerificaRecebimentoNaoFiscalMFD", Alvo::Impressora, {{recebimentos, KESAFI_LARGURA_RECEBIMENTOS}},
                 [&](Sessao& s) {
                     escreve(recebimentos, KESAFI_LARGURA_RECEBIMENTOS, s.imp->respostaTotalizadores());
                     return ok();
                 });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(int indice, const char* nome) {
    anotaTextos({nome});
    return chama("NomeiaTotalizadorNaoSujeitoIcms", Alvo::Impressora, {}, [&](Sessao& s) {
        if (!nome) return invalido();
        if (!gravavel(nome)) return textoRecusado();
        return s.imp->nomeiaTotalizador(indice, nome);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaRelatorioGerencialMFD(char* relatorios) {
    return chama("VerificaRelatorioGerencialMFD", Alvo::Impressora,
                 {{relatorios, KESAFI_LARGURA_RELATORIOS_GERENCIAIS}}, [&](Sessao& s) {
                     escreve(relatorios, KESAFI_LARGURA_RELATORIOS_GERENCIAIS, s.imp->respostaRelatorios());
                     return ok();
                 });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_NomeiaRelatorioGerencialMFD(const char* indice, const char* nome) {
    anotaTextos({indice, nome});
    return chama("NomeiaRelatorioGerencialMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        if (!indice || !nome) return invalido();
        const std::string_view v = trimmed(indice);
        const int n = soDigitos(v) && v.size() <= 2 ? std::stoi(std::string(v)) : 0;
        if (!gravavel(nome)) return textoRecusado();
        return s.imp->nomeiaRelatorio(n, nome);
    });
}

// ------------------------------------------------------------ fiscal reports

KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraX(void) {
    return chama("LeituraX", Alvo::Impressora, {}, [](Sessao& s) { return s.imp->leituraX(nullptr); });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraXSerial(void) {
    return chama("LeituraXSerial", Alvo::Impressora, {}, [](Sessao& s) {
        std::string texto;
        Resposta r = s.imp->leituraX(&texto);
        if (r.retorno == 1) r.retorno = gravaRetorno(s, texto);
        return r;
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ReducaoZ(const char* data, const char* hora) {
    anotaTextos({data, hora});
    return chama("ReducaoZ", Alvo::Impressora, {}, [&](Sessao& s) -> Resposta {
        const bool temData = data && *data, temHora = hora && *hora;
        if (!temData && !temHora) return s.imp->reducaoZ(std::nullopt);
        if (!temData || !temHora || std::strlen(data) != 6 || std::strlen(hora) != 6 || !soDigitos(data) ||
            !soDigitos(hora))
            return invalido();
        const auto dia = parseDate(data);
        const auto segundos = parseTime(hora);
        if (!dia || !segundos) return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_DATA_E_HORA_INVALIDA);
        return s.imp->reducaoZ(startOfDay(*dia) + *segundos);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalDataMFD(const char* inicial, const char* final,
                                                                   const char* tipo) {
    anotaTextos({inicial, final, tipo});
    return chama("LeituraMemoriaFiscalDataMFD", Alvo::Impressora, {},
                 [&](Sessao& s) { return leituraPorData(s, inicial, final, tipo, false); });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalReducaoMFD(const char* inicial, const char* final,
                                                                      const char* tipo) {
    anotaTextos({inicial, final, tipo});
    return chama("LeituraMemoriaFiscalReducaoMFD", Alvo::Impressora, {},
                 [&](Sessao& s) { return leituraPorReducao(s, inicial, final, tipo, false); });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalSerialDataMFD(const char* inicial, const char* final,
                                                                         const char* tipo) {
    anotaTextos({inicial, final, tipo});
    return chama("LeituraMemoriaFiscalSerialDataMFD", Alvo::Impressora, {},
                 [&](Sessao& s) { return leituraPorData(s, inicial, final, tipo, true); });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalSerialReducaoMFD(const char* inicial, const char* final,
                                                                            const char* tipo) {
    anotaTextos({inicial, final, tipo});
    return chama("LeituraMemoriaFiscalSerialReducaoMFD", Alvo::Impressora, {},
                 [&](Sessao& s) { return leituraPorReducao(s, inicial, final, tipo, true); });
}

// ------------------------------------------------------------ service commands

KESAFI_API int KESAFI_CALL Kestrona_FI_ProgramaHorarioVerao(void) {
    return chama("ProgramaHorarioVerao", Alvo::Impressora, {}, [](Sessao& s) { return s.imp->horarioVerao(); });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_AcionaGaveta(void) {
    return chama("AcionaGaveta", Alvo::Impressora, {}, [](Sessao& s) { return s.imp->acionaGaveta(); });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaEstadoGaveta(int* estado) {
    return chama("VerificaEstadoGaveta", Alvo::Impressora, {}, [&](Sessao& s) {
        if (!estado) return invalido();
        *estado = s.imp->estadoGaveta();
        if (!s.gavetas.empty()) {
            *estado = s.gavetas.front();
            s.gavetas.pop_front();
        }
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_AtivaDesativaGuilhotinaMFD(int ativa) {
    return chama("AtivaDesativaGuilhotinaMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        if (ativa != 0 && ativa != 1) return invalido();
        return s.imp->ativaGuilhotina(ativa == 1);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_AtivaDesativaCorteTotalMFD(int ativa) {
    return chama("AtivaDesativaCorteTotalMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        if (ativa != 0 && ativa != 1) return invalido();
        return s.imp->ativaCorteTotal(ativa == 1);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_AcionaGuilhotinaMFD(int tipoCorte) {
    return chama("AcionaGuilhotinaMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        if (tipoCorte != 0 && tipoCorte != 1) return invalido();
        return s.imp->corta(tipoCorte);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_AbreRelatorioGerencialMFD(const char* indice) {
    anotaTextos({indice});
    return chama("AbreRelatorioGerencialMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        if (!indice) return invalido();
        const std::string_view v = trimmed(indice);
        const int n = soDigitos(v) && v.size() <= 2 ? std::stoi(std::string(v)) : 0;
        return s.imp->abreRelatorio(n);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_UsaRelatorioGerencialMFD(const char* texto) {
    anotaTextos({texto});
    return chama("UsaRelatorioGerencialMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        if (!texto || std::strlen(texto) > 10000) return invalido();
        return s.imp->usaRelatorio(texto);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_FechaRelatorioGerencial(void) {
    return chama("FechaRelatorioGerencial", Alvo::Impressora, {}, [](Sessao& s) { return s.imp->fechaRelatorio(); });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_EspacoEntreLinhas(int pontos) {
    return chama("EspacoEntreLinhas", Alvo::Impressora, {},
                 [&](Sessao& s) { return s.imp->espacoEntreLinhas(pontos); });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_LinhasEntreCupons(int linhas) {
    return chama("LinhasEntreCupons", Alvo::Impressora, {},
                 [&](Sessao& s) { return s.imp->linhasEntreCupons(linhas); });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_CancelaCupom(void) {
    return chama("CancelaCupom", Alvo::Impressora, {}, [](Sessao& s) { return s.imp->cancelaCupom(); });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(const char* formaPagamento, const char* valor,
                                                                      const char* cpf) {
    anotaTextos({formaPagamento, valor, cpf});
    return chama("CancelaRecebimentoNaoFiscalMFD", Alvo::Impressora, {},
                 [](Sessao& s) { return s.imp->cancelaNaoFiscal(); });
}

// ------------------------------------------------------------ memory data

KESAFI_API int KESAFI_CALL Kestrona_FI_DownloadMF(const char* arquivo) {
    anotaTextos({arquivo});
    return chama("DownloadMF", Alvo::Impressora, {}, [&](Sessao& s) { return dados::downloadMf(s, arquivo); });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ArquivoMFD(const char* origem, const char* inicial, const char* final,
                                                  const char* seletor, const char* usuario, int tipo,
                                                  const char* chave1, const char* chave2, int arquivoUnico) {
    anotaTextos({origem, inicial, final, seletor, usuario, chave1, chave2});
    return chama("ArquivoMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        return dados::arquivoMfd(s, origem, inicial, final, seletor, usuario, tipo, chave1, chave2, arquivoUnico);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_EspelhoMFD(const char* destino, const char* inicial, const char* final,
                                                  const char* seletor, const char* usuario, const char* chave1,
                                                  const char* chave2) {
    anotaTextos({destino, inicial, final, seletor, usuario, chave1, chave2});
    return chama("EspelhoMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        return dados::espelhoMfd(s, destino, inicial, final, seletor, usuario, chave1, chave2);
    });
}

// A stored file is converted by the library alone: no port, no printer.
KESAFI_API int KESAFI_CALL Kestrona_FI_FormatoDadosMFD(const char* origem, const char* destino, const char* formato,
                                                       const char* seletor, const char* inicial, const char* final,
                                                       const char* usuario) {
    anotaTextos({origem, destino, formato, seletor, inicial, final, usuario});
    return chama("FormatoDadosMFD", Alvo::Biblioteca, {}, [&](Sessao& s) {
        return dados::formatoDadosMfd(s, origem, destino, formato, seletor, inicial, final, usuario);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ImprimeConfiguracoesImpressora(void) {
    return chama("ImprimeConfiguracoesImpressora", Alvo::Impressora, {},
                 [](Sessao& s) { return s.imp->imprimeConfiguracao(); });
}

}  // extern "C"
