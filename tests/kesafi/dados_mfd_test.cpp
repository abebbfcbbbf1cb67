// The MF/MFD data functions: the download of a stretch of the tape
// (Download.MFD and the "Tipo E" files), its mirror, the conversion of a
// stored Download.MFD, and the fiscal memory file.  Every file they make is
// signed and checks with validateFile and with the openssl command line alone.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>
#include <map>
#include <set>

#include "apoio.h"
#include "ead/chaves.h"
#include "profile/system_text.h"

namespace kesafi_teste {
namespace {

namespace fs = std::filesystem;

const std::string kSeparador = std::string(48, '=') + "\r\n";
constexpr size_t kLinhaEad = 3 + 256 + 2;

// A document of a mirror: its heading line (COO, kind, date, time) and its text.
struct DocumentoDoEspelho {
    std::string titulo, texto;
    bool operator==(const DocumentoDoEspelho&) const = default;
};

// The documents of a mirror, in order.
std::vector<DocumentoDoEspelho> documentos(const std::string& espelho) {
    std::vector<DocumentoDoEspelho> out;
    size_t p = espelho.find(kSeparador);
    while (p != std::string::npos) {
        const size_t inicio = p + kSeparador.size();
        const size_t proximo = espelho.find(kSeparador, inicio);
        if (proximo == std::string::npos) break;  // the total that ends the mirror
        const size_t fimTitulo = espelho.find("\r\n", inicio);
        out.push_back(
            {espelho.substr(inicio, fimTitulo - inicio), espelho.substr(fimTitulo + 2, proximo - fimTitulo - 2)});
        p = proximo;
    }
    return out;
}

std::string semAssinatura(const std::string& arquivo) { return arquivo.substr(0, arquivo.size() - kLinhaEad); }

int valida(const fs::path& p, const char* chave1 = ead::kChave1) {
    return validateFile(p.string().c_str(), chave1, ead::kChave2);
}

class DadosMfd : public ImpressoraComRelatorios {
protected:
    int espelho(const fs::path& destino, const std::string& inicial, const std::string& final, const char* seletor,
                const char* usuario = "1") {
        return Kestrona_FI_EspelhoMFD(destino.c_str(), inicial.c_str(), final.c_str(), seletor, usuario, ead::kChave1,
                                      ead::kChave2);
    }
    int arquivoMfd(const std::string& inicial, const std::string& final, const char* seletor, int tipo,
                   int arquivoUnico = 1) {
        return Kestrona_FI_ArquivoMFD(nullptr, inicial.c_str(), final.c_str(), seletor, "1", tipo, ead::kChave1,
                                      ead::kChave2, arquivoUnico);
    }
    int formato(const fs::path& origem, const fs::path& destino, const char* fmt, const char* seletor,
                const std::string& inicial, const std::string& final) {
        return Kestrona_FI_FormatoDadosMFD(origem.c_str(), destino.c_str(), fmt, seletor, inicial.c_str(),
                                           final.c_str(), "1");
    }

    void confereAssinatura(const fs::path& arquivo) { kesafi_teste::confereAssinatura(arquivo, pasta / "openssl"); }

    // The names in a folder.
    static std::set<std::string> nomes(const fs::path& p) {
        std::set<std::string> out;
        for (const auto& e : fs::directory_iterator(p)) out.insert(e.path().filename().string());
        return out;
    }
};

TEST_F(DadosMfd, TheMirrorHoldsEveryDocumentAsPrintedAndIsSigned) {
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(3), 1);
    const fs::path destino = relatorios / "espelho.txt";
    ASSERT_EQ(espelho(destino, data(-30), data(), "D"), 1);
    const std::string texto = leArquivo(destino);
    EXPECT_EQ(texto.rfind("ESPELHO DA MFD", 0), 0u);
    // Text for a person: UTF-8 here, as written and signed.
    EXPECT_NE(texto.find("NÚMERO DE FABRICAÇÃO: VF080000000000010247\r\n"), std::string::npos);
    EXPECT_TRUE(profile::validUtf8(texto));
    const auto lista = documentos(texto);
    EXPECT_EQ(static_cast<long long>(lista.size()), contador("Documentos"));
    EXPECT_NE(texto.find("TOTAL DE DOCUMENTOS: " + std::to_string(lista.size()) + "\r\nEAD"), std::string::npos);
    // The last three receipts, as the tape holds them.
    const std::string fitaTexto = profile::utf8FromCp1252(fita(1));
    const auto ultimo = lista.back();
    EXPECT_NE(fitaTexto.find(ultimo.texto), std::string::npos);
    confereAssinatura(destino);

    // By COO: only documents with a COO in the range.
    const long long coo = contador("COO");
    const std::string de = std::to_string(coo - 4 + 1000000).substr(1), ate = std::to_string(coo + 1000000).substr(1);
    const fs::path porCoo = relatorios / "porcoo.txt";
    ASSERT_EQ(espelho(porCoo, de, ate, "C"), 1);
    const auto cooLista = documentos(leArquivo(porCoo));
    ASSERT_EQ(cooLista.size(), 5u);
    EXPECT_EQ(cooLista.front().titulo.substr(0, 10), "COO:" + de);
    EXPECT_EQ(cooLista.back().titulo.substr(0, 10), "COO:" + ate);
}

TEST_F(DadosMfd, PathsWithWindowsSeparatorsAreAccepted) {
    const std::string destino = relatorios.string() + "\\sub\\espelho.txt";
    fs::create_directories(relatorios / "sub");
    ASSERT_EQ(espelho(destino, data(-30), data(), "D"), 1);
    EXPECT_TRUE(fs::exists(relatorios / "sub" / "espelho.txt"));
    EXPECT_EQ(Kestrona_FI_DownloadMF((relatorios.string() + "\\memoria.mf").c_str()), 1);
    EXPECT_TRUE(fs::exists(relatorios / "memoria.mf"));
}

// The type E file: E01, E02 and the registers of its type, each of its own
// length, ASCII, CR LF, in the order of their keys; one receipt's E14 and its
// items' E15.
TEST_F(DadosMfd, ArquivoMfdLeavesTheDownloadAndTheTypeEFileInThePathFolder) {
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(4), 1);
    ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
    ASSERT_EQ(arquivoMfd(data(-30), data(), "D", 2), 1);
    ASSERT_TRUE(fs::exists(relatorios / "Download.MFD"));
    confereAssinatura(relatorios / "Download.MFD");
    const auto tdm = arquivos("TDM");
    ASSERT_EQ(tdm.size(), 1u);
    EXPECT_EQ(tdm[0].filename().string(), "TDMVF080000000000010247_" + diaDdmmyyyy().substr(4, 4) +
                                              diaDdmmyyyy().substr(2, 2) + diaDdmmyyyy().substr(0, 2) + "_100000.TXT");
    confereAssinatura(tdm[0]);

    const std::map<std::string, size_t> tamanhos = {{"E01", 166}, {"E02", 272}, {"E12", 101}, {"E13", 72},
                                                    {"E14", 191}, {"E15", 267}, {"E18", 80}};
    const std::string corpo = semAssinatura(leArquivo(tdm[0]));
    std::map<std::string, int> quantos;
    std::string anterior;
    size_t inicio = 0;
    while (inicio < corpo.size()) {
        const size_t fim = corpo.find("\r\n", inicio);
        ASSERT_NE(fim, std::string::npos);
        const std::string linha = corpo.substr(inicio, fim - inicio);
        const std::string tipo = linha.substr(0, 3);
        ASSERT_TRUE(tamanhos.count(tipo)) << linha;
        EXPECT_EQ(linha.size(), tamanhos.at(tipo)) << linha;
        EXPECT_GE(tipo, anterior);
        for (char c : linha) EXPECT_TRUE(c >= 0x20 && c < 0x7f) << linha;
        EXPECT_EQ(linha.substr(3, 20), "VF080000000000010247") << linha;
        ++quantos[tipo];
        anterior = tipo;
        inicio = fim + 2;
    }
    EXPECT_EQ(quantos["E01"], 1);
    EXPECT_EQ(quantos["E02"], 1);
    EXPECT_EQ(quantos["E12"], contador("CRZ"));
    EXPECT_EQ(quantos["E14"], contador("CCF"));
    EXPECT_GE(quantos["E15"], quantos["E14"]);
    EXPECT_GT(quantos["E18"], 0);
    // The period and the generating command of E01; the last reduction's E12.
    const size_t e01 = corpo.find("E01");
    EXPECT_EQ(corpo.substr(e01 + 112, 3), "TDM");
    EXPECT_EQ(std::stoll(corpo.substr(e01 + 121, 6)), contador("CRZ"));
    const size_t e12 = corpo.rfind("\r\nE12") + 2;
    EXPECT_EQ(std::stoll(corpo.substr(e12 + 46, 6)), contador("CRZ"));
    EXPECT_EQ(std::stoll(corpo.substr(e12 + 52, 6)), contador("COO"));

    // MF, MFD and RZ hold only their registers.
    for (const auto& [tipo, prefixo, registros] :
         {std::tuple{0, "MF", "E01E02E12E13"}, std::tuple{1, "MFD", "E01E02E14E15E18"},
          std::tuple{3, "RZ", "E01E02E14E15"}}) {
        SCOPED_TRACE(prefixo);
        for (const auto& f : arquivos(prefixo)) fs::remove(f);
        ASSERT_EQ(arquivoMfd(data(-30), data(), "D", tipo), 1);
        const auto feitos = arquivos(std::string(prefixo) + "VF");
        ASSERT_EQ(feitos.size(), 1u);
        std::set<std::string> vistos;
        const std::string c = semAssinatura(leArquivo(feitos[0]));
        for (size_t i = 0; i < c.size(); i = c.find("\r\n", i) + 2) vistos.insert(c.substr(i, 3));
        std::string juntos;
        for (const auto& v : vistos) juntos += v;
        EXPECT_EQ(juntos, registros);
        EXPECT_EQ(valida(feitos[0]), 1);
    }
}

TEST_F(DadosMfd, OneFilePerDayOfMovementWhenSplit) {
    ASSERT_EQ(arquivoMfd(data(-30), data(), "D", 1, 0), 1);
    const auto feitos = arquivos("MFDVF");
    // The days of the tape, from its mirror.
    std::set<std::string> dias;
    ASSERT_EQ(espelho(relatorios / "espelho.txt", data(-30), data(), "D"), 1);
    for (const auto& d : documentos(leArquivo(relatorios / "espelho.txt"))) {
        // "COO:000123 CUPOM dd/mm/yyyy hh:mm:ss"
        const std::string data = d.titulo.substr(d.titulo.size() - 19, 10);
        dias.insert(data.substr(6, 4) + data.substr(3, 2) + data.substr(0, 2));
    }
    ASSERT_GE(dias.size(), 5u);
    ASSERT_EQ(feitos.size(), dias.size());
    for (size_t i = 0; i < feitos.size(); ++i) {
        EXPECT_NE(feitos[i].filename().string().find("_" + *std::next(dias.begin(), static_cast<long>(i)) + "_"),
                  std::string::npos)
            << feitos[i];
        EXPECT_EQ(valida(feitos[i]), 1);
    }

    // By COOs: the days of the documents with a COO (the first day holds
    // only the trace of the tables' programming).
    for (const auto& f : feitos) fs::remove(f);
    const std::string ultimo = std::to_string(contador("COO") + 1000000).substr(1);
    ASSERT_EQ(arquivoMfd("000001", ultimo, "C", 1, 0), 1);
    EXPECT_EQ(arquivos("MFDVF").size(), dias.size() - 1);
}

// Download.MFD converted back gives the same documents as the mirror of the
// same range, by dates and by COOs, in text, RTF and database form.
TEST_F(DadosMfd, AStoredDownloadConvertsBackToTheMirrorsDocuments) {
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(5), 1);
    ASSERT_EQ(Kestrona_FI_AbreRelatorioGerencialMFD("1"), 1);
    ASSERT_EQ(Kestrona_FI_UsaRelatorioGerencialMFD("Linha com acentua\xE7\xE3o { e } e \\"), 1);
    ASSERT_EQ(Kestrona_FI_FechaRelatorioGerencial(), 1);
    const long long coo = contador("COO");
    const std::string de = std::to_string(coo - 20 + 1000000).substr(1),
                      ate = std::to_string(coo - 2 + 1000000).substr(1);
    for (const auto& [seletorMfd, seletorArquivo, inicial, final] :
         {std::tuple{"D", "1", data(-30), data()}, std::tuple{"C", "2", de, ate}}) {
        SCOPED_TRACE(seletorMfd);
        ASSERT_EQ(arquivoMfd(inicial, final, seletorMfd, 1), 1);
        const fs::path download = pasta / "guardado.mfd";
        fs::rename(relatorios / "Download.MFD", download);
        ASSERT_EQ(espelho(relatorios / "espelho.txt", inicial, final, seletorMfd), 1);
        const auto doEspelho = documentos(leArquivo(relatorios / "espelho.txt"));
        ASSERT_FALSE(doEspelho.empty());

        ASSERT_EQ(formato(download, relatorios / "convertido.txt", "0", seletorArquivo, inicial, final), 1);
        const std::string convertido = leArquivo(relatorios / "convertido.txt");
        EXPECT_EQ(documentos(convertido), doEspelho);
        EXPECT_TRUE(profile::validUtf8(convertido));
        if (seletorMfd == std::string("D")) {
            EXPECT_NE(convertido.find("Linha com acentuação"), std::string::npos);
        }
        confereAssinatura(relatorios / "convertido.txt");

        ASSERT_EQ(formato(download, relatorios / "convertido.rtf", "1", seletorArquivo, inicial, final), 1);
        const std::string rtf = semAssinatura(leArquivo(relatorios / "convertido.rtf"));
        EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);
        EXPECT_EQ(rtf.substr(rtf.size() - 3), "}\r\n");
        int nivel = 0;
        for (size_t i = 0; i < rtf.size(); ++i) {
            const auto c = static_cast<unsigned char>(rtf[i]);
            EXPECT_LT(c, 0x80) << i;
            if (rtf[i] == '\\') {
                ++i;
                continue;
            }
            nivel += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
            EXPECT_GE(nivel, 0) << i;
        }
        EXPECT_EQ(nivel, 0);
        EXPECT_EQ(valida(relatorios / "convertido.rtf"), 1);

        ASSERT_EQ(formato(download, relatorios / "convertido.mdb", "2", seletorArquivo, inicial, final), 1);
        EXPECT_EQ(valida(relatorios / "convertido.mdb"), 1);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2((relatorios / "convertido.mdb").c_str(), &db, SQLITE_OPEN_READONLY, nullptr),
                  SQLITE_OK);
        sqlite3_stmt* s = nullptr;
        ASSERT_EQ(
            sqlite3_prepare_v2(db, "SELECT coo, tipo, data, hora FROM documentos ORDER BY ordem", -1, &s, nullptr),
            SQLITE_OK);
        size_t i = 0;
        while (sqlite3_step(s) == SQLITE_ROW && i < doEspelho.size()) {
            char titulo[80];
            std::snprintf(titulo, sizeof titulo, "COO:%06lld %s %s %s", sqlite3_column_int64(s, 0),
                          sqlite3_column_text(s, 1), sqlite3_column_text(s, 2), sqlite3_column_text(s, 3));
            EXPECT_EQ(titulo, doEspelho[i++].titulo);
        }
        EXPECT_EQ(i, doEspelho.size());
        sqlite3_finalize(s);
        ASSERT_EQ(
            sqlite3_prepare_v2(db, "SELECT count(*) FROM itens i JOIN cupons c ON c.coo = i.coo", -1, &s, nullptr),
            SQLITE_OK);
        ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
        EXPECT_GT(sqlite3_column_int(s, 0), 0);
        sqlite3_finalize(s);
        sqlite3_close(db);
        fs::remove(download);
    }
}

TEST_F(DadosMfd, TheFiscalMemoryFileHoldsEveryReductionAndIsSigned) {
    const fs::path mf = relatorios / "memoria.mf";
    ASSERT_EQ(Kestrona_FI_DownloadMF(mf.c_str()), 1);
    const std::string bytes = leArquivo(mf);
    EXPECT_EQ(bytes.substr(0, 8), std::string("KMF \r\n\x1a\n", 8));
    // Its records: a type, a length, the fields; a 'Z' per reduction.
    std::map<char, long long> registros;
    size_t p = 10;
    while (p + 5 <= bytes.size()) {
        const char tipo = bytes[p];
        uint32_t n = 0;
        for (int i = 0; i < 4; ++i) n |= uint32_t(static_cast<unsigned char>(bytes[p + 1 + i])) << (8 * i);
        ++registros[tipo];
        p += 5 + n;
        if (tipo == 'E') break;
    }
    EXPECT_EQ(registros['H'], 1);
    EXPECT_EQ(registros['Z'], contador("CRZ"));
    EXPECT_EQ(registros['E'], 1);
    EXPECT_EQ(bytes.size() - p, kLinhaEad + 2);                 // CR LF, then the EAD line
    EXPECT_NE(bytes.find("01,0001,0001,"), std::string::npos);  // the first reduction's record
    confereAssinatura(mf);
}

// Refusals: nothing written, the memory as it was.
TEST_F(DadosMfd, BadArgumentsAndEmptyRangesAreRefused) {
    const long long coo = contador("COO"), documentos = contador("Documentos");
    const fs::path destino = relatorios / "x.txt";
    auto recusado = [&](int retorno, int st3) {
        EXPECT_EQ(retorno, -27);
        EXPECT_EQ(status().st3, st3);
    };
    EXPECT_EQ(espelho(destino, data(-3), data(), "X"), -2);
    EXPECT_EQ(espelho(destino, data(-3), data(), "D", "6"), -2);
    EXPECT_EQ(espelho(destino, data(-3), data(), "D", nullptr), -2);
    EXPECT_EQ(Kestrona_FI_EspelhoMFD(destino.c_str(), data(-3).c_str(), data().c_str(), "D", "1", "12AB", ead::kChave2),
              -2);
    EXPECT_EQ(Kestrona_FI_EspelhoMFD(nullptr, data(-3).c_str(), data().c_str(), "D", "1", ead::kChave1, ead::kChave2),
              -2);
    EXPECT_EQ(Kestrona_FI_EspelhoMFD(std::string(5000, 'a').c_str(), data(-3).c_str(), data().c_str(), "D", "1",
                                     ead::kChave1, ead::kChave2),
              -2);
    recusado(espelho(destino, "31/02/24", data(), "D"), KESAFI_ST3_DATA_INICIAL_INVALIDA);
    recusado(espelho(destino, data(-3), "  /  /  ", "D"), KESAFI_ST3_DATA_FINAL_INVALIDA);
    recusado(espelho(destino, data(), data(-3), "D"), KESAFI_ST3_INTERVALO_INVALIDO);
    recusado(espelho(destino, "000009", "000003", "C"), KESAFI_ST3_INTERVALO_INVALIDO);
    recusado(espelho(destino, "12a", "000003", "C"), KESAFI_ST3_INTERVALO_INVALIDO);
    recusado(espelho(destino, "999990", "999999", "C"), KESAFI_ST3_SEM_DADOS_NA_MFD);
    recusado(espelho(destino, "01/01/01", "02/01/01", "D"), KESAFI_ST3_SEM_DADOS_NA_MFD);
    recusado(espelho(destino, data(-3), data(), "D", "2"), KESAFI_ST3_SEM_DADOS_NA_MFD);
    EXPECT_EQ(espelho(pasta / "nao" / "existe.txt", data(-3), data(), "D"), -1);
    EXPECT_EQ(Kestrona_FI_ArquivoMFD("arquivo.mfd", data(-3).c_str(), data().c_str(), "D", "1", 1, ead::kChave1,
                                     ead::kChave2, 1),
              -2);
    EXPECT_EQ(arquivoMfd(data(-3), data(), "D", 5), -2);
    EXPECT_EQ(arquivoMfd(data(-3), data(), "D", 1, 2), -2);
    escreveIni("Sistema", "Path", (pasta / "sem" / "pasta").c_str());
    EXPECT_EQ(arquivoMfd(data(-3), data(), "D", 1), -1);
    EXPECT_EQ(Kestrona_FI_DownloadMF(nullptr), -2);
    EXPECT_TRUE(fs::is_empty(relatorios));

    // Stored files that are none, or damaged, convert to nothing.
    const fs::path outro = pasta / "outro.mfd";
    std::ofstream(outro, std::ios::binary) << "isto nao e um arquivo da MFD";
    EXPECT_EQ(formato(outro, destino, "0", "1", data(-3), data()), -1);
    escreveIni("Sistema", "Path", relatorios.c_str());
    ASSERT_EQ(arquivoMfd(data(-30), data(), "D", 1), 1);
    const std::string bom = leArquivo(relatorios / "Download.MFD");
    for (size_t corte : {size_t{20}, bom.size() / 2, bom.size() - kLinhaEad - 3}) {
        std::ofstream(outro, std::ios::binary | std::ios::trunc) << bom.substr(0, corte);
        EXPECT_EQ(formato(outro, destino, "0", "1", data(-30), data()), -1) << corte;
    }
    EXPECT_EQ(formato(relatorios / "Download.MFD", destino, "3", "1", data(-3), data()), -2);
    EXPECT_EQ(formato(relatorios / "Download.MFD", destino, "0", "D", data(-3), data()), -2);
    EXPECT_FALSE(fs::exists(destino));
    EXPECT_EQ(contador("COO"), coo);
    EXPECT_EQ(contador("Documentos"), documentos);
}

// The printer's memory and the settings are refused as destinations however
// they are spelt: nothing is written and the printer goes on as it was.
TEST_F(DadosMfd, TheLibrarysOwnFilesAreNeverADestination) {
    ASSERT_EQ(arquivoMfd(data(-30), data(), "D", 1), 1);
    const fs::path memoria = pasta / "Impressora Virtual", download = relatorios / "Download.MFD";
    ASSERT_TRUE(fs::exists(memoria / "memoria.db-wal"));
    fs::create_directory_symlink(memoria, pasta / "atalho");
    fs::create_symlink(arquivoMemoria(), relatorios / "memoria.txt");
    fs::create_hard_link(ini, relatorios / "configuracao.txt");
    std::string invertido = (memoria / "memoria.db").string();
    std::replace(invertido.begin(), invertido.end(), '/', '\\');
    const std::string destinos[] = {
        arquivoMemoria().string(),
        (memoria / "memoria.db-wal").string(),
        (memoria / "memoria.db-shm").string(),
        (memoria / "memoria.db-journal").string(),
        (memoria / "memoria.trava").string(),
        ini.string(),
        (pasta / "kesafi32.INI").string(),
        (relatorios / ".." / "Impressora Virtual" / "." / "memoria.db").string(),
        fs::relative(arquivoMemoria(), fs::current_path()).string(),
        invertido,
        (pasta / "atalho" / "MEMORIA.DB").string(),
        (relatorios / "memoria.txt").string(),
        (relatorios / "configuracao.txt").string(),
    };
    std::map<std::string, std::string> antes;
    for (const auto& e : fs::directory_iterator(memoria)) antes[e.path().filename().string()] = leArquivo(e.path());
    const std::string configuracao = leArquivo(ini);
    const long long documentos = contador("Documentos");

    for (const std::string& d : destinos) {
        SCOPED_TRACE(d);
        EXPECT_EQ(espelho(d, data(-30), data(), "D"), -2);
        EXPECT_EQ(Kestrona_FI_DownloadMF(d.c_str()), -2);
        for (const char* fmt : {"0", "1", "2"}) EXPECT_EQ(formato(download, d, fmt, "1", data(-30), data()), -2);
    }
    std::map<std::string, std::string> depois;
    for (const auto& e : fs::directory_iterator(memoria)) depois[e.path().filename().string()] = leArquivo(e.path());
    EXPECT_EQ(depois, antes);
    EXPECT_EQ(leArquivo(ini), configuracao);
    EXPECT_TRUE(fs::is_symlink(relatorios / "memoria.txt"));
    EXPECT_EQ(contador("Documentos"), documentos);
    EXPECT_EQ(espelho(relatorios / "espelho.txt", data(-30), data(), "D"), 1);
}

// With one of its files unable to go in place, ArquivoMFD leaves the folder
// as it found it: the old Download.MFD, and none of the new day files.
TEST_F(DadosMfd, ArquivoMfdPutsItsFilesInPlaceAllTogetherOrNone) {
    ASSERT_EQ(arquivoMfd(data(-30), data(), "D", 1, 0), 1);
    const auto dias = arquivos("MFDVF");
    ASSERT_GE(dias.size(), 3u);
    const std::string antigo = leArquivo(relatorios / "Download.MFD");
    for (const auto& f : dias) fs::remove(f);
    fs::create_directory(dias.back());
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    EXPECT_EQ(arquivoMfd(data(-30), data(), "D", 1, 0), -1);
    EXPECT_EQ(leArquivo(relatorios / "Download.MFD"), antigo);
    EXPECT_EQ(nomes(relatorios), (std::set<std::string>{"Download.MFD", dias.back().filename().string()}));

    // Once the way is free the whole set appears.
    fs::remove(dias.back());
    ASSERT_EQ(arquivoMfd(data(-30), data(), "D", 1, 0), 1);
    EXPECT_NE(leArquivo(relatorios / "Download.MFD"), antigo);
    for (const auto& f : dias) EXPECT_EQ(valida(f), 1) << f;
}

// A write killed half way leaves its temporary behind; the next file written
// in that folder removes it, but not one another process is writing (it holds
// its lock) nor files of other names.
TEST_F(DadosMfd, TemporariesOfAKilledWriteGoWithTheNextWriteThere) {
    const std::string abandonados[] = {"Download.MFD.parcial-3141592653", "espelho.txt.parcial-7"};
    const std::string outros[] = {"notas.parcial-abc", "parcial-12", "vivo.txt.parcial-42", "pasta.parcial-5"};
    for (const auto& n : abandonados) std::ofstream(relatorios / n) << "meio arquivo";
    for (const auto& n : outros) std::ofstream(relatorios / n) << "de outro";
    fs::remove(relatorios / "pasta.parcial-5");
    fs::create_directory(relatorios / "pasta.parcial-5");
    const int vivo = open((relatorios / "vivo.txt.parcial-42").c_str(), O_RDONLY);
    ASSERT_GE(vivo, 0);
    ASSERT_EQ(flock(vivo, LOCK_EX | LOCK_NB), 0);

    ASSERT_EQ(espelho(relatorios / "espelho.txt", data(-3), data(), "D"), 1);
    std::set<std::string> esperados(std::begin(outros), std::end(outros));
    esperados.insert("espelho.txt");
    EXPECT_EQ(nomes(relatorios), esperados);
    close(vivo);

    // Let go, it is a leftover too; a set of files in the making leaves none
    // of its own temporaries behind.
    ASSERT_EQ(arquivoMfd(data(-30), data(), "D", 1, 0), 1);
    for (const auto& n : nomes(relatorios)) {
        if (n.find(".parcial-") != std::string::npos) {
            EXPECT_TRUE(n == "notas.parcial-abc" || n == "pasta.parcial-5") << n;
        }
    }
}

// A stored file is read only when it is a regular file: a FIFO (which would
// wait for a writer for ever) or a folder is refused at once.
TEST_F(DadosMfd, AConversionReadsOnlyRegularFiles) {
    ASSERT_EQ(arquivoMfd(data(-30), data(), "D", 1), 1);
    const fs::path fila = pasta / "fila.mfd", saida = relatorios / "c.txt";
    ASSERT_EQ(mkfifo(fila.c_str(), 0600), 0);
    auto conversao = std::async(std::launch::async, [&] { return formato(fila, saida, "0", "1", data(-30), data()); });
    if (conversao.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "the conversion waits for a writer of the FIFO";
        const int escritor = open(fila.c_str(), O_WRONLY);  // sets it free
        if (escritor >= 0) close(escritor);
    }
    EXPECT_EQ(conversao.get(), -1);
    EXPECT_EQ(formato(relatorios, saida, "0", "1", data(-30), data()), -1);
    EXPECT_FALSE(fs::exists(saida));
    // A link to a stored file is followed.
    fs::create_symlink(relatorios / "Download.MFD", pasta / "atalho.mfd");
    EXPECT_EQ(formato(pasta / "atalho.mfd", saida, "0", "1", data(-30), data()), 1);
}

// A stored file converted over a range it does not hold is refused as the
// printer refuses that range, and leaves no file.
TEST_F(DadosMfd, AStoredDownloadRefusesARangeItDoesNotHold) {
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(3), 1);
    const long long coo = contador("COO");
    const std::string de = std::to_string(coo - 2 + 1000000).substr(1), ate = std::to_string(coo + 1000000).substr(1);
    ASSERT_EQ(arquivoMfd(de, ate, "C", 1), 1);
    const fs::path download = pasta / "guardado.mfd";
    fs::rename(relatorios / "Download.MFD", download);
    const fs::path destino = relatorios / "convertido.txt";
    const auto recusa = [&](int retorno) {
        EXPECT_EQ(retorno, -27);
        EXPECT_EQ(status().st3, 160);
        EXPECT_FALSE(fs::exists(destino));
    };
    const std::string depois = std::to_string(coo + 1 + 1000000).substr(1);
    recusa(formato(download, destino, "0", "2", depois, "999999"));
    recusa(formato(download, destino, "1", "2", "000001", std::to_string(coo - 3 + 1000000).substr(1)));
    recusa(formato(download, destino, "2", "1", "01/01/01", data(-400)));
    recusa(Kestrona_FI_FormatoDadosMFD(download.c_str(), destino.c_str(), "0", "2", de.c_str(), ate.c_str(), "2"));

    // A range overlapping the file's converts what the file holds of it.
    ASSERT_EQ(formato(download, destino, "0", "2", de, "999999"), 1);
    EXPECT_EQ(documentos(leArquivo(destino)).size(), 3u);
}

// The conversion of a stored file needs no printer; the others need the port.
TEST_F(DadosMfd, TheConversionNeedsNoPrinter) {
    ASSERT_EQ(arquivoMfd(data(-30), data(), "D", 1), 1);
    ASSERT_EQ(Kestrona_FI_FechaPortaSerial(), 1);
    EXPECT_EQ(espelho(relatorios / "e.txt", data(-3), data(), "D"), -5);
    EXPECT_EQ(formato(relatorios / "Download.MFD", relatorios / "c.txt", "0", "1", data(-30), data()), 1);
    char textos[512];
    ASSERT_GT(KesafiVirtual_LeTextos(textos, sizeof textos), 0);
    EXPECT_NE(std::string(textos).find("\"0\",\"1\""), std::string::npos) << textos;
}

}  // namespace
}  // namespace kesafi_teste
