// The window of a governed function, reached through the program's global as
// the program reaches it: a function window not made yet is made now, as
// opening it would.
#pragma once

#include "app/tfprincipal.h"
#include "commands/tfcomandosadicionais.h"
#include "core/disponibilidade.h"
#include "fiscalconfig/tfconfigecf.h"
#include "memory/tfdadosmfemfd.h"
#include "reports/tfrelfiscais.h"

inline QWidget* janelaDoPrograma(UGerenciador::Janela janela) {
    using UGerenciador::Janela;
    switch (janela) {
        case Janela::Principal:
            return uZentora3::Fprincipal;
        case Janela::ConfigECF:
            return UConfigFiscais::FConfigECF.get();
        case Janela::RelFiscais:
            return URelFiscais::FRelFiscais.get();
        case Janela::ComandosAdicionais:
            return uComandosAdicionais::FComandosAdicionais.get();
        case Janela::DadosMFeMFD:
            return uDadosMFeMFD::FDadosMFeMFD.get();
    }
    return nullptr;
}
