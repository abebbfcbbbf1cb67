// Every printer library function that takes texts (programming, readings and
// ranges, managerial reports, the MF/MFD data functions) called with
// arbitrary bytes, null pointers and overlong texts, on a virtual printer
// whose port is open.  Nothing may crash or read or write out of bounds (the
// sanitizers watch), every result is one the library documents, and a call
// that is refused leaves the printer's memory exactly as it was (its state,
// tables, tape and fiscal memory compared before and after).
//
// Input, one piece a line: the function (a number, taken modulo the list),
// then its arguments in order; a text piece is the text itself, "-" for a
// null pointer, "*N" for N bytes of text (an overlong one), "*K1" and "*K2"
// for the program's key texts, "*MFD" for a stored Download.MFD; a number
// piece is the number.  Paths are made into a folder of the fuzz run (with
// "/" and ".." taken out, Windows separators kept).
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <string>

#include "ead/chaves.h"
#include "fuzz_target.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"

namespace {

namespace fs = std::filesystem;

// A virtual printer of its own, in a folder removed when the process ends.
class Bancada {
public:
    Bancada() {
        std::random_device aleatorio;
        pasta_ = fs::temp_directory_path() /
                 ("fuzz_textos_kesafi-" + std::to_string(getpid()) + "-" + std::to_string(aleatorio()));
        fs::create_directories(pasta_ / "Relatorios");
        std::ofstream(pasta_ / "KESAFI32.ini", std::ios::binary)
            << "[Sistema]\r\nPorta=USB\r\nPath=" << (pasta_ / "Relatorios").string() << "\r\n";
        nova();
    }
    ~Bancada() {
        KesafiVirtual_DefinePastaBase(pasta_.c_str());
        std::error_code ec;
        fs::remove_all(pasta_, ec);
    }

    // A brand new printer every so often, so that what the calls did (a
    // reduction closing the day, tables filled) does not stay forever.
    void prepara() {
        if (++chamadas_ % 64 == 0) nova();
    }

    const fs::path& pasta() const { return pasta_; }
    const std::string& guardado() const { return guardado_; }

    // The printer's memory as a text: its state, tables and the extent of
    // its tape and fiscal memory.
    std::string retrato() const {
        sqlite3* db = nullptr;
        std::string out;
        const std::string arquivo = (pasta_ / "Impressora Virtual" / "memoria.db").string();
        if (sqlite3_open_v2(arquivo.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            return "?";
        }
        for (const char* consulta :
             {"SELECT * FROM estado", "SELECT * FROM aliquotas", "SELECT * FROM formas", "SELECT * FROM totalizadores",
              "SELECT * FROM relatorios", "SELECT count(*), max(id) FROM documentos",
              "SELECT count(*), sum(length(texto)) FROM complementos", "SELECT count(*) FROM cupons",
              "SELECT count(*) FROM itens", "SELECT count(*) FROM pagamentos", "SELECT count(*) FROM recebimentos",
              "SELECT count(*), max(crz) FROM reducoes"}) {
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(db, consulta, -1, &s, nullptr) != SQLITE_OK) {
                out += "!";
                continue;
            }
            while (sqlite3_step(s) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(s); ++c) {
                    const auto* t = sqlite3_column_blob(s, c);
                    out.append(static_cast<const char*>(t ? t : ""), static_cast<size_t>(sqlite3_column_bytes(s, c)));
                    out += '|';
                }
                out += '\n';
            }
            sqlite3_finalize(s);
        }
        sqlite3_close(db);
        return out;
    }

private:
    void nova() {
        FUZZ_CHECK(KesafiVirtual_DefinePastaBase(pasta_.c_str()) == 1);
        FUZZ_CHECK(KesafiVirtual_CriaImpressora("", 0) == 1);
        std::time_t agora = std::time(nullptr);
        std::tm tm{};
        localtime_r(&agora, &tm);
        char relogio[16];
        std::strftime(relogio, sizeof relogio, "%d%m%Y100000", &tm);
        FUZZ_CHECK(KesafiVirtual_FixaRelogio(relogio) == 1);
        Kestrona_FI_ReloadINIFile();
        FUZZ_CHECK(Kestrona_FI_AbrePortaSerial() == 1);
        Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD("1");
        // A stored download to convert.
        guardado_ = (pasta_ / "guardado.mfd").string();
        if (Kestrona_FI_ArquivoMFD(nullptr, "01/01/00", "31/12/60", "D", "1", 2, ead::kChave1, ead::kChave2, 1) == 1) {
            std::error_code ec;
            fs::rename(pasta_ / "Relatorios" / "Download.MFD", guardado_, ec);
        }
        for (const auto& e : fs::directory_iterator(pasta_ / "Relatorios")) fs::remove(e.path());
    }

    fs::path pasta_;
    std::string guardado_;
    long long chamadas_ = 0;
};

// The arguments of one call, read from the input pieces.
class Argumentos {
public:
    Argumentos(zentora::fuzz::Input& in, const Bancada& b) : in_(in), b_(b) {}

    const char* texto() {
        const std::string_view p = in_.piece();
        auto& t = textos_.emplace_back();
        if (p == "-") return nullptr;
        if (p == "*K1") return ead::kChave1;
        if (p == "*K2") return ead::kChave2;
        if (p == "*MFD") return b_.guardado().c_str();
        if (p.size() > 1 && p[0] == '*') {
            size_t n = 0;
            for (char c : p.substr(1))
                n = c >= '0' && c <= '9' ? std::min<size_t>(n * 10 + size_t(c - '0'), 1 << 20) : n;
            t.assign(n, 'A');
        } else {
            t.assign(p);
        }
        return t.c_str();
    }

    // A path inside the run's folder: "/" and ".." out, Windows separators kept.
    const char* caminho() {
        const char* t = texto();
        if (!t || t == b_.guardado().c_str()) return t;
        std::string nome = t;
        for (char& c : nome)
            if (c == '/' || c == '\0') c = '_';
        for (size_t p = nome.find(".."); p != std::string::npos; p = nome.find("..")) nome.replace(p, 2, "__");
        auto& c = textos_.emplace_back((b_.pasta() / "Relatorios").string() + "\\" + nome);
        return c.c_str();
    }

    int numero() { return in_.number(); }

private:
    zentora::fuzz::Input& in_;
    const Bancada& b_;
    std::deque<std::string> textos_;  // each text keeps its place as more are added
};

}  // namespace

ZENTORA_FUZZ_TARGET(textos_kesafi) {
    static Bancada bancada;
    bancada.prepara();
    zentora::fuzz::Input in(data, size);
    const int funcao = in.number();
    Argumentos a(in, bancada);
    const std::string antes = bancada.retrato();

    int r = 0;
    switch (unsigned(funcao) % 17) {
        case 0:
            r = Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD(a.texto());
            break;
        case 1: {
            const char* aliquota = a.texto();
            r = Kestrona_FI_ProgramaAliquota(aliquota, a.numero());
            break;
        }
        case 2: {
            const char* nome = a.texto();
            r = Kestrona_FI_ProgramaFormaPagamentoMFD(nome, a.texto());
            break;
        }
        case 3: {
            const int indice = a.numero();
            r = Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(indice, a.texto());
            break;
        }
        case 4: {
            const char* indice = a.texto();
            r = Kestrona_FI_NomeiaRelatorioGerencialMFD(indice, a.texto());
            break;
        }
        case 5: {
            const char* dataZ = a.texto();
            r = Kestrona_FI_ReducaoZ(dataZ, a.texto());
            break;
        }
        case 6:
        case 7:
        case 8:
        case 9: {
            const char* inicial = a.texto();
            const char* final = a.texto();
            const char* tipo = a.texto();
            decltype(&Kestrona_FI_LeituraMemoriaFiscalDataMFD) leituras[] = {
                Kestrona_FI_LeituraMemoriaFiscalDataMFD, Kestrona_FI_LeituraMemoriaFiscalReducaoMFD,
                Kestrona_FI_LeituraMemoriaFiscalSerialDataMFD, Kestrona_FI_LeituraMemoriaFiscalSerialReducaoMFD};
            r = leituras[unsigned(funcao) % 17 - 6](inicial, final, tipo);
            break;
        }
        case 10:
            r = Kestrona_FI_AbreRelatorioGerencialMFD(a.texto());
            break;
        case 11:
            r = Kestrona_FI_UsaRelatorioGerencialMFD(a.texto());
            break;
        case 12: {
            const char* forma = a.texto();
            const char* valor = a.texto();
            r = Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(forma, valor, a.texto());
            break;
        }
        case 13:
            r = Kestrona_FI_DownloadMF(a.caminho());
            break;
        case 14: {
            const char* origem = a.texto();
            const char* inicial = a.texto();
            const char* final = a.texto();
            const char* seletor = a.texto();
            const char* usuario = a.texto();
            const int tipo = a.numero();
            const char* chave1 = a.texto();
            const char* chave2 = a.texto();
            r = Kestrona_FI_ArquivoMFD(origem, inicial, final, seletor, usuario, tipo, chave1, chave2, a.numero());
            break;
        }
        case 15: {
            const char* destino = a.caminho();
            const char* inicial = a.texto();
            const char* final = a.texto();
            const char* seletor = a.texto();
            const char* usuario = a.texto();
            const char* chave1 = a.texto();
            r = Kestrona_FI_EspelhoMFD(destino, inicial, final, seletor, usuario, chave1, a.texto());
            break;
        }
        default: {
            const char* origem = a.caminho();
            const char* destino = a.caminho();
            const char* formato = a.texto();
            const char* seletor = a.texto();
            const char* inicial = a.texto();
            const char* final = a.texto();
            r = Kestrona_FI_FormatoDadosMFD(origem, destino, formato, seletor, inicial, final, a.texto());
            break;
        }
    }
    static const std::set<int> documentados = {1, 0, -1, -2, -5, -8, -27};
    FUZZ_CHECK(documentados.count(r) == 1);
    int ack = -1, st1 = -1, st2 = -1, st3 = -1;
    FUZZ_CHECK(Kestrona_FI_RetornoImpressoraMFD(&ack, &st1, &st2, &st3) == 1);
    FUZZ_CHECK(r != -27 || ack == 6);
    // A refusal changes nothing (a capture file that could not be written,
    // -8, comes after the reading was printed).
    if (r != 1 && r != -8) FUZZ_CHECK(bancada.retrato() == antes);
    return 0;
}
