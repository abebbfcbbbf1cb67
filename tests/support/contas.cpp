#include "contas.h"

#include <gtest/gtest.h>

#include "instalacao.h"
#include "platform/dialogs.h"

namespace {

class Contas : public ::testing::EmptyTestEventListener {
public:
    explicit Contas(platform::dialogs::Script& base) : base_(base) {}

    void OnTestStart(const ::testing::TestInfo&) override {
        base_.take();
        base_.takeUnanswered();
        base_.takeLeftovers();
    }
    // Listeners hear a test's end in the reverse order of their
    // installation, so this one speaks before the result is printed, and
    // while the test is still the one failures go to.
    void OnTestEnd(const ::testing::TestInfo&) override {
        for (const auto& caixa : base_.take()) ADD_FAILURE() << "a box appeared with no script: " << descreve(caixa);
        base_.takeUnanswered();  // already among the boxes above
        for (const QString& sobra : base_.takeLeftovers()) ADD_FAILURE() << sobra.toStdString();
    }

private:
    platform::dialogs::Script& base_;
};

}  // namespace

void contaCaixasDeCadaTeste(platform::dialogs::Script& base) {
    ::testing::UnitTest::GetInstance()->listeners().Append(new Contas(base));
}
