#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TFDadosMFeMFD;
}

class TFDadosMFeMFD : public QWidget {
    Q_OBJECT

public:
    explicit TFDadosMFeMFD(QWidget* parent = nullptr);
    ~TFDadosMFeMFD() override;

    std::unique_ptr<Ui::TFDadosMFeMFD> ui;
};

namespace uDadosMFeMFD {
extern TFDadosMFeMFD* FDadosMFeMFD;
}
