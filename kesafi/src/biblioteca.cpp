// The exported functions: the library side of every call (port, settings,
// status bytes, argument checks, answer buffers) in front of the virtual
// printer, and the control functions of the test header.
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "impressora.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "pasta_programa.h"
#include "profile/ini.h"
#include "relogio.h"
#include "texto.h"

namespace kesafi {
namespace {

constexpr const char* kVersaoDll = "01.00.001";

enum class Porta { Nenhuma, Usb, Serial };

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
};

Sessao& sessao() {
    static Sessao s;
    if (s.base.empty()) s.base = pastaDoPrograma();
    return s;
}

std::string comBarra(std::string pasta) {
    for (char& ch : pasta)
        if (ch == '\\') ch = '/';
    if (!pasta.empty() && pasta.back() != '/') pasta.push_back('/');
    return pasta;
}

std::string ini(const Sessao& s) { return s.base + "KESAFI32.ini"; }

bool iniExiste(const Sessao& s) {
    std::error_code ec;
    return std::filesystem::is_regular_file(ini(s), ec);
}

std::string maiusculas(std::string_view v) {
    std::string out(trimmed(v));
    for (char& ch : out)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
    return out;
}

void carregaPorta(Sessao& s) {
    s.portaSistema = profile::readString(ini(s), "Sistema", "Porta");
    s.portaCarregada = true;
}

// Where the virtual printer is attached ([Virtual] Porta; USB when absent).
Porta portaConectada(const Sessao& s) {
    const std::string conteudo = profile::load(ini(s)).text;
    if (!profile::hasKey(conteudo, "Virtual", "Porta")) return Porta::Usb;
    const std::string v = maiusculas(profile::valueIn(conteudo, "Virtual", "Porta"));
    if (v.empty() || v == "NENHUMA") return Porta::Nenhuma;
    if (v == "USB") return Porta::Usb;
    return Porta::Serial;
}

std::string pastaMemoria(const Sessao& s) {
    std::string v = profile::readString(ini(s), "Virtual", "Memoria");
    for (char& ch : v)
        if (ch == '\\') ch = '/';
    if (v.empty()) return s.base + "Impressora Virtual";
    if (v.front() == '/') return v;
    return s.base + v;
}

int sementeConfigurada(const Sessao& s) {
    const std::string v = profile::readString(ini(s), "Virtual", "Semente");
    try {
        return v.empty() ? 0 : std::stoi(v);
    } catch (const std::exception&) {
        return 0;
    }
}

bool mesmaPasta(const std::string& a, const std::string& b) {
    std::error_code ec;
    const auto na = std::filesystem::weakly_canonical(a, ec);
    const auto nb = std::filesystem::weakly_canonical(b, ec);
    return na.lexically_normal() == nb.lexically_normal() || comBarra(na.string()) == comBarra(nb.string());
}

// The printer of the configured memory folder, opened (or created) on demand;
// null when another process holds its memory or the system refused to open it
// (`acesso` tells which).
Impressora* garanteMemoria(Sessao& s, Acesso* acesso = nullptr) {
    const std::string pasta = pastaMemoria(s);
    if (s.imp && !mesmaPasta(s.imp->pasta(), pasta)) s.imp.reset();
    const Acesso a = s.imp ? Acesso::Pronta : Impressora::abre(pasta, sementeConfigurada(s), wallNow(), s.imp);
    if (acesso) *acesso = a;
    return s.imp.get();
}

// The same, for the test control that reads the printer's memory.
Impressora* memoriaLegivel(Sessao& s) {
    Impressora* imp = garanteMemoria(s);
    return imp && !imp->danificada() ? imp : nullptr;
}

// Writes an answer into a caller buffer: as many characters as the buffer
// holds before its terminating zero, never more than the field's width.
void escreve(char* buf, size_t largura, std::string_view dados) {
    const size_t n = strnlen(buf, largura);
    for (size_t i = 0; i < n; ++i) buf[i] = i < dados.size() ? dados[i] : ' ';
}

struct Saida {
    char* p;
    size_t largura;
};

// Who answers a call: the library alone; the printer from its firmware (a
// damaged fiscal memory does not stop it); the printer from its memory.
enum class Alvo { Biblioteca, Firmware, Impressora };

void defineStatus(Sessao& s, const Resposta& r) {
    const bool respondeu = r.retorno == 1 || r.retorno == -27 || r.retorno == -8;
    // Every answer shows a receipt in progress.
    const int st1 = r.st1 | (respondeu && s.imp && s.imp->cupomAberto() ? kSt1CupomAberto : 0);
    s.status = {respondeu ? 6 : 0, st1, r.st2, s.estendido ? r.st3 : 0};
}

// "Cupom", "NaoFiscal" or "Gerencial" (any case) as the document to leave open.
std::optional<Impressora::Aberto> documentoAberto(std::string_view nome) {
    const std::string v = maiusculas(nome);
    if (v == "CUPOM") return Impressora::Aberto::Cupom;
    if (v == "NAOFISCAL") return Impressora::Aberto::NaoFiscal;
    if (v == "GERENCIAL") return Impressora::Aberto::Gerencial;
    return std::nullopt;
}

// [Virtual] DocumentoAberto: each opening of the port finds that document
// open, as a point-of-sale program that stopped in the middle of it left it,
// unless the printer holds an open document already (it then refuses).
void abreDocumentoConfigurado(Sessao& s) {
    const auto documento = documentoAberto(profile::readString(ini(s), "Virtual", "DocumentoAberto"));
    if (documento) s.imp->deixaAberto(*documento);
}

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
        s.status = {6, 0, 0, 0};
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

Resposta invalido() { return {-2, 0, 0, 0}; }

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
    const std::string path = profile::readString(ini(s), "Sistema", "Path");
    const std::string pasta = path.empty() ? s.base : comBarra(path);
    return profile::replaceFile(pasta + "Retorno.txt", texto) ? 1 : -8;
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
    const std::string v = maiusculas(tipo);
    if (v != "C" && v != "S") return false;
    simplificada = v == "S";
    return true;
}

Resposta leituraPorData(Sessao& s, const char* inicial, const char* final, const char* tipo, bool serial) {
    bool simplificada = false;
    if (!inicial || !final || !tipoLeitura(tipo, simplificada)) return invalido();
    const auto ini = parseDate(trimmed(inicial));
    if (!ini) return recusa(kSt1ParametroInvalido, 0, 52);
    const auto fim = parseDate(trimmed(final));
    if (!fim) return recusa(kSt1ParametroInvalido, 0, 53);
    std::string texto;
    Resposta r = s.imp->leituraMemoriaPorData(*ini, *fim, simplificada, serial ? &texto : nullptr);
    if (r.retorno == 1 && serial) r.retorno = gravaRetorno(s, texto);
    return r;
}

Resposta leituraPorReducao(Sessao& s, const char* inicial, const char* final, const char* tipo, bool serial) {
    bool simplificada = false;
    if (!inicial || !final || !tipoLeitura(tipo, simplificada)) return invalido();
    const int ini = numeroReducao(inicial);
    if (ini <= 0) return recusa(kSt1ParametroInvalido, 0, 54);
    const int fim = numeroReducao(final);
    if (fim <= 0) return recusa(kSt1ParametroInvalido, 0, 55);
    std::string texto;
    Resposta r = s.imp->leituraMemoriaPorReducao(ini, fim, simplificada, serial ? &texto : nullptr);
    if (r.retorno == 1 && serial) r.retorno = gravaRetorno(s, texto);
    return r;
}

Resposta ok() { return {}; }

}  // namespace
}  // namespace kesafi

using namespace kesafi;

extern "C" {

// ------------------------------------------------------------ port and library

KESAFI_API int KESAFI_CALL Kestrona_FI_AbrePortaSerial(void) {
    return chama("AbrePortaSerial", Alvo::Biblioteca, {}, [](Sessao& s) -> Resposta {
        s.portaAberta = false;
        if (!iniExiste(s)) return {-4, 0, 0, 0};
        if (!s.portaCarregada) carregaPorta(s);
        const Porta pedida = maiusculas(s.portaSistema) == "USB" ? Porta::Usb : Porta::Serial;
        if (portaConectada(s) != pedida) return {-5, 0, 0, 0};
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
        if (!iniExiste(s)) return {-4, 0, 0, 0};
        carregaPorta(s);
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ReloadINIFile(void) {
    return chama("ReloadINIFile", Alvo::Biblioteca, {}, [](Sessao& s) -> Resposta {
        if (!iniExiste(s)) return {-4, 0, 0, 0};
        carregaPorta(s);
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
    return chama("VersaoDll", Alvo::Biblioteca, {{versao, 9}}, [&](Sessao&) {
        escreve(versao, 9, kVersaoDll);
        return ok();
    });
}

// ------------------------------------------------------------ identity and state

KESAFI_API int KESAFI_CALL Kestrona_FI_NumeroSerieMFD(char* numeroSerie) {
    return chama("NumeroSerieMFD", Alvo::Impressora, {{numeroSerie, 20}}, [&](Sessao& s) {
        escreve(numeroSerie, 20, padRight(s.imp->estado().serie, 20));
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ModeloImpressora(char* modelo) {
    return chama("ModeloImpressora", Alvo::Firmware, {{modelo, 11}}, [&](Sessao&) {
        escreve(modelo, 11, padRight(kModelo, 11));
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_VersaoFirmwareMFD(char* versao) {
    return chama("VersaoFirmwareMFD", Alvo::Firmware, {{versao, 7}}, [&](Sessao&) {
        escreve(versao, 7, kFirmware);
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ReducoesRestantesMFD(char* reducoes) {
    return chama("ReducoesRestantesMFD", Alvo::Impressora, {{reducoes, 4}}, [&](Sessao& s) {
        escreve(reducoes, 4, digits(s.imp->reducoesRestantes(), 4));
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_DataHoraUltimoDocumentoMFD(char* dataHora) {
    return chama("DataHoraUltimoDocumentoMFD", Alvo::Impressora, {{dataHora, 12}}, [&](Sessao& s) {
        const int64_t t = s.imp->estado().ultimoDocHora;
        escreve(dataHora, 12, t ? ddmmyy(t) + hhmmss(t) : std::string(12, '0'));
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_DataHoraReducao(char* data, char* hora) {
    return chama("DataHoraReducao", Alvo::Impressora, {{data, 6}, {hora, 6}}, [&](Sessao& s) {
        const auto& u = s.imp->ultimaReducao();
        escreve(data, 6, u ? ddmmyy(u->dataHora) : "000000");
        escreve(hora, 6, u ? hhmmss(u->dataHora) : "000000");
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_DataMovimento(char* data) {
    return chama("DataMovimento", Alvo::Impressora, {{data, 6}}, [&](Sessao& s) {
        escreve(data, 6, diaDdmmyy(s.imp->estado().movimento));
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_PercentualLivreMFD(char* percentual) {
    return chama("PercentualLivreMFD", Alvo::Impressora, {{percentual, 6}}, [&](Sessao& s) {
        escreve(percentual, 6, s.imp->respostaPercentualLivre());
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
    return chama("DataHoraImpressora", Alvo::Impressora, {{data, 6}, {hora, 6}}, [&](Sessao& s) {
        const int64_t t = s.imp->agora();
        escreve(data, 6, ddmmyy(t));
        escreve(hora, 6, hhmmss(t));
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_NumeroCupom(char* coo) {
    return chama("NumeroCupom", Alvo::Impressora, {{coo, 6}}, [&](Sessao& s) {
        escreve(coo, 6, digits(s.imp->estado().coo, 6));
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_DadosUltimaReducaoMFD(char* dados) {
    return chama("DadosUltimaReducaoMFD", Alvo::Impressora, {{dados, 1279}}, [&](Sessao& s) {
        escreve(dados, 1279, s.imp->respostaUltimaReducao());
        return ok();
    });
}

// ------------------------------------------------------------ fiscal tables

KESAFI_API int KESAFI_CALL Kestrona_FI_RetornoAliquotas(char* aliquotas) {
    return chama("RetornoAliquotas", Alvo::Impressora, {{aliquotas, 79}}, [&](Sessao& s) {
        escreve(aliquotas, 79, s.imp->respostaAliquotas());
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaIndiceAliquotasIss(char* indices) {
    return chama("VerificaIndiceAliquotasIss", Alvo::Impressora, {{indices, 48}}, [&](Sessao& s) {
        escreve(indices, 48, s.imp->respostaIndicesIss());
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
    return chama("VerificaFormasPagamento", Alvo::Impressora, {{formas, 3016}}, [&](Sessao& s) {
        escreve(formas, 3016, s.imp->respostaFormas());
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ProgramaFormaPagamentoMFD(const char* nome, const char* vinculo) {
    anotaTextos({nome, vinculo});
    return chama("ProgramaFormaPagamentoMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        if (!nome || !vinculo || (std::strcmp(vinculo, "0") != 0 && std::strcmp(vinculo, "1") != 0)) return invalido();
        return s.imp->programaForma(nome, vinculo[0] == '1');
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaRecebimentoNaoFiscalMFD(char* recebimentos) {
    return chama("VerificaRecebimentoNaoFiscalMFD", Alvo::Impressora, {{recebimentos, 1077}}, [&](Sessao& s) {
        escreve(recebimentos, 1077, s.imp->respostaTotalizadores());
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(int indice, const char* nome) {
    anotaTextos({nome});
    return chama("NomeiaTotalizadorNaoSujeitoIcms", Alvo::Impressora, {}, [&](Sessao& s) {
        if (!nome) return invalido();
        return s.imp->nomeiaTotalizador(indice, nome);
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaRelatorioGerencialMFD(char* relatorios) {
    return chama("VerificaRelatorioGerencialMFD", Alvo::Impressora, {{relatorios, 659}}, [&](Sessao& s) {
        escreve(relatorios, 659, s.imp->respostaRelatorios());
        return ok();
    });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_NomeiaRelatorioGerencialMFD(const char* indice, const char* nome) {
    anotaTextos({indice, nome});
    return chama("NomeiaRelatorioGerencialMFD", Alvo::Impressora, {}, [&](Sessao& s) {
        if (!indice || !nome) return invalido();
        const std::string_view v = trimmed(indice);
        const int n = soDigitos(v) && v.size() <= 2 ? std::stoi(std::string(v)) : 0;
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
        if (!dia || !segundos) return recusa(kSt1ParametroInvalido, 0, 100);
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

KESAFI_API int KESAFI_CALL Kestrona_FI_DownloadMF(const char*) {
    return chama("DownloadMF", Alvo::Biblioteca, {}, [](Sessao&) { return Resposta{-1, 0, 0, 0}; });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ArquivoMFD(const char*, const char*, const char*, const char*, const char*, int,
                                                  const char*, const char*, int) {
    return chama("ArquivoMFD", Alvo::Biblioteca, {}, [](Sessao&) { return Resposta{-1, 0, 0, 0}; });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_EspelhoMFD(const char*, const char*, const char*, const char*, const char*,
                                                  const char*, const char*) {
    return chama("EspelhoMFD", Alvo::Biblioteca, {}, [](Sessao&) { return Resposta{-1, 0, 0, 0}; });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_FormatoDadosMFD(const char*, const char*, const char*, const char*, const char*,
                                                       const char*, const char*) {
    return chama("FormatoDadosMFD", Alvo::Biblioteca, {}, [](Sessao&) { return Resposta{-1, 0, 0, 0}; });
}

KESAFI_API int KESAFI_CALL Kestrona_FI_ImprimeConfiguracoesImpressora(void) {
    return chama("ImprimeConfiguracoesImpressora", Alvo::Impressora, {},
                 [](Sessao& s) { return s.imp->imprimeConfiguracao(); });
}

// ------------------------------------------------------------ control of the virtual printer

KESAFI_API int KESAFI_CALL KesafiVirtual_DefinePastaBase(const char* pasta) {
    if (!pasta || !*pasta) return -2;
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    s.base = comBarra(pasta);
    s.portaAberta = false;
    s.portaCarregada = false;
    s.imp.reset();
    s.ligada = true;
    s.estendido = false;
    s.status = {};
    s.forcados.clear();
    s.lixos.clear();
    s.gavetas.clear();
    s.textos.clear();
    s.chamadas.clear();
    s.totalChamadas = 0;
    return 1;
}

KESAFI_API int KESAFI_CALL KesafiVirtual_CriaImpressora(const char* pasta, int semente) {
    Sessao& s = sessao();
    std::lock_guard<std::mutex> trava(s.m);
    const std::string configurada = pastaMemoria(s);
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
    if (!profile::writeString(ini(s), "Virtual", "Porta", valor)) return -1;
    // The cable moved: an open port on the other side no longer reaches the printer.
    if (s.portaAberta) {
        const Porta aberta = maiusculas(s.portaSistema) == "USB" ? Porta::Usb : Porta::Serial;
        if (portaConectada(s) != aberta) s.portaAberta = false;
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
}  // namespace

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
        for (const Documento& d : imp->memoria().ultimosDocumentos(documentos)) {
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
    const Estado& e = imp->estado();
    const std::map<std::string, long long> contadores = {
        {"COO", e.coo},
        {"CRZ", e.crz},
        {"CRO", e.cro},
        {"GNF", e.gnf},
        {"CCF", e.ccf},
        {"GRG", e.grg},
        {"CDC", e.cdc},
        {"CFC", e.cfc},
        {"CNC", e.cnc},
        {"ReducoesRestantes", imp->reducoesRestantes()},
        {"FlagsFiscais", imp->flags()},
        {"Gaveta", imp->estadoGaveta()},
        {"Guilhotina", e.guilhotina ? 1 : 0},
        {"CorteTotal", e.corteTotal ? 1 : 0},
        {"EspacoEntreLinhas", e.espacoLinhas},
        {"LinhasEntreCupons", e.linhasCupons},
        {"TratamentoOffLine", e.offline},
        {"RelogioDeslocamento", e.deslocamento},
    };
    auto it = contadores.find(n);
    if (it != contadores.end()) {
        *valor = it->second;
        return 1;
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
