// Replays every saved input of every fuzz target through the target itself:
// the inputs that once broke a target (fuzz/regressions/<target>/) and its
// seed corpus (fuzz/corpus/<target>/).  Runs in every build, sanitizers or
// not, so a fixed fault stays fixed without clang.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <map>
#include <stdexcept>
#include <string>

#include "fuzz_target.h"

namespace zentora::fuzz {
namespace {

std::map<std::string, Entry>& targets() {
    static std::map<std::string, Entry> all;
    return all;
}

}  // namespace

bool registerTarget(const char* name, Entry entry) {
    targets()[name] = entry;
    return true;
}

void fail(const char* file, int line, const char* condition) {
    throw std::runtime_error(std::string(file) + ":" + std::to_string(line) + ": invariant broken: " + condition);
}

}  // namespace zentora::fuzz

namespace {

std::vector<std::string> nomesDosAlvos() {
    std::vector<std::string> nomes;
    for (const auto& [nome, entrada] : zentora::fuzz::targets()) nomes.push_back(nome);
    return nomes;
}

QStringList entradas(const QString& pasta) {
    QStringList arquivos;
    const QDir dir(pasta);
    for (const QString& nome : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (!nome.startsWith(QLatin1Char('.')) && !nome.endsWith(QLatin1String(".md"))) arquivos << dir.filePath(nome);
    return arquivos;
}

class FuzzRegressoes : public ::testing::TestWithParam<std::string> {
protected:
    QString pasta(const char* tipo) const {
        return QStringLiteral(ZENTORA_FUZZ_DIR "/%1/%2").arg(QLatin1String(tipo), QString::fromStdString(GetParam()));
    }

    void repete(const QStringList& arquivos) {
        const zentora::fuzz::Entry alvo = zentora::fuzz::targets().at(GetParam());
        for (const QString& caminho : arquivos) {
            QFile arquivo(caminho);
            ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly)) << caminho.toStdString();
            const QByteArray bytes = arquivo.readAll();
            try {
                alvo(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            } catch (const std::exception& e) {
                ADD_FAILURE() << caminho.toStdString() << ": " << e.what();
            }
        }
    }
};

TEST_P(FuzzRegressoes, TemCorpusInicial) {
    EXPECT_FALSE(entradas(pasta("corpus")).isEmpty()) << pasta("corpus").toStdString();
}

TEST_P(FuzzRegressoes, CorpusInicialPassa) { repete(entradas(pasta("corpus"))); }

TEST_P(FuzzRegressoes, RegressoesPassam) { repete(entradas(pasta("regressions"))); }

INSTANTIATE_TEST_SUITE_P(Alvos, FuzzRegressoes, ::testing::ValuesIn(nomesDosAlvos()),
                         [](const auto& info) { return info.param; });

}  // namespace
