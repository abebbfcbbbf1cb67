#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFGerenciador;
}

class TFGerenciador : public QDialog {
    Q_OBJECT

public:
    explicit TFGerenciador(QWidget* parent = nullptr);
    ~TFGerenciador() override;

    std::unique_ptr<Ui::TFGerenciador> ui;
};

namespace UGerenciador {
extern TFGerenciador* FGerenciador;
}
