#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TFRelFiscais;
}

class TFRelFiscais : public QWidget {
    Q_OBJECT

public:
    explicit TFRelFiscais(QWidget* parent = nullptr);
    ~TFRelFiscais() override;

    std::unique_ptr<Ui::TFRelFiscais> ui;
};

namespace URelFiscais {
extern TFRelFiscais* FRelFiscais;
}
