#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TFConfigECF;
}

class TFConfigECF : public QWidget {
    Q_OBJECT

public:
    explicit TFConfigECF(QWidget* parent = nullptr);
    ~TFConfigECF() override;

    std::unique_ptr<Ui::TFConfigECF> ui;
};

namespace UConfigFiscais {
extern TFConfigECF* FConfigECF;
}
