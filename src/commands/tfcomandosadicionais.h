#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TFComandosAdicionais;
}

class TFComandosAdicionais : public QWidget {
    Q_OBJECT

public:
    explicit TFComandosAdicionais(QWidget* parent = nullptr);
    ~TFComandosAdicionais() override;

    std::unique_ptr<Ui::TFComandosAdicionais> ui;
};

namespace uComandosAdicionais {
extern TFComandosAdicionais* FComandosAdicionais;
}
