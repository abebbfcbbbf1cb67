#include "sessao.h"

#include <filesystem>

#include "pasta_programa.h"
#include "relogio.h"

namespace kesafi {
bool mesmaPasta(const std::string& a, const std::string& b) {
    std::error_code ec;
    const auto na = std::filesystem::weakly_canonical(a, ec);
    const auto nb = std::filesystem::weakly_canonical(b, ec);
    return na.lexically_normal() == nb.lexically_normal() || comBarra(na.string()) == comBarra(nb.string());
}

std::optional<Impressora::Aberto> documentoAberto(std::string_view nome) {
    const std::string v = maiusculas(nome);
    if (v == "CUPOM") return Impressora::Aberto::Cupom;
    if (v == "NAOFISCAL") return Impressora::Aberto::NaoFiscal;
    if (v == "GERENCIAL") return Impressora::Aberto::Gerencial;
    return std::nullopt;
}

Sessao& sessao() {
    static Sessao s;
    if (s.base.empty()) s.base = pastaDoPrograma();
    return s;
}

void Sessao::carregaPorta() {
    portaSistema = configuracao().portaSistema();
    portaCarregada = true;
}

void Sessao::reinicia(std::string novaBase) {
    base = comBarra(std::move(novaBase));
    portaAberta = false;
    portaCarregada = false;
    imp.reset();
    ligada = true;
    estendido = false;
    status = {};
    forcados.clear();
    lixos.clear();
    gavetas.clear();
    textos.clear();
    chamadas.clear();
    totalChamadas = 0;
}

Impressora* garanteMemoria(Sessao& s, Acesso* acesso) {
    const Configuracao cfg = s.configuracao();
    const std::string pasta = cfg.pastaMemoria();
    if (s.imp && !mesmaPasta(s.imp->pasta(), pasta)) s.imp.reset();
    const Acesso a = s.imp ? Acesso::Pronta : Impressora::abre(pasta, cfg.semente(), wallNow(), s.imp);
    if (acesso) *acesso = a;
    return s.imp.get();
}

Impressora* memoriaLegivel(Sessao& s) {
    Impressora* imp = garanteMemoria(s);
    return imp && !imp->danificada() ? imp : nullptr;
}

void defineStatus(Sessao& s, const Resposta& r) {
    // An answer that carries status bytes came from the printer, whatever the result.
    const bool respondeu = r.retorno == 1 || r.retorno == -27 || r.retorno == -8 || r.st1 || r.st2 || r.st3;
    // Every answer shows a receipt in progress and a clock behind the last document.
    int st1 = r.st1;
    if (respondeu && s.imp && !s.imp->danificada()) {
        if (s.imp->cupomAberto()) st1 |= KESAFI_ST1_CUPOM_ABERTO;
        if (s.imp->relogioInvalido()) st1 |= KESAFI_ST1_ERRO_NO_RELOGIO;
    }
    s.status = {respondeu ? int(KESAFI_ACK) : 0, st1, r.st2, s.estendido ? r.st3 : 0};
}

void escreve(char* buf, size_t largura, std::string_view dados) {
    const size_t n = strnlen(buf, largura);
    for (size_t i = 0; i < n; ++i) buf[i] = i < dados.size() ? dados[i] : ' ';
}

}  // namespace kesafi
