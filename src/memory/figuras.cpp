#include "figuras.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace uDadosMFeMFD {

namespace {

// Every picture is drawn on a 48 × 48 grid.
constexpr qreal kGrade = 48.0;

const QColor kContorno(0x2b, 0x3a, 0x4a);
const QColor kPapel(0xfb, 0xfb, 0xf7);
const QColor kLinha(0x8a, 0x97, 0xa6);
const QColor kAzul(0x2f, 0x6f, 0xb5);
const QColor kVerde(0x2e, 0x9a, 0x4f);
const QColor kLaranja(0xe0, 0x8a, 0x1e);
const QColor kCinza(0x6b, 0x73, 0x7d);

QPen contorno(qreal largura = 1.6) { return QPen(kContorno, largura, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// A page with its top right corner folded and `linhas` lines of text.
void pagina(QPainter& p, const QRectF& r, int linhas, const QColor& tinta = kLinha) {
    const qreal dobra = r.width() * 0.28;
    QPainterPath folha;
    folha.moveTo(r.topLeft());
    folha.lineTo(r.right() - dobra, r.top());
    folha.lineTo(r.right(), r.top() + dobra);
    folha.lineTo(r.bottomRight());
    folha.lineTo(r.bottomLeft());
    folha.closeSubpath();
    p.setPen(contorno());
    p.setBrush(kPapel);
    p.drawPath(folha);
    QPainterPath canto;
    canto.moveTo(r.right() - dobra, r.top());
    canto.lineTo(r.right() - dobra, r.top() + dobra);
    canto.lineTo(r.right(), r.top() + dobra);
    p.setBrush(QColor(0xdd, 0xe2, 0xe8));
    p.drawPath(canto);
    p.setPen(QPen(tinta, 1.4, Qt::SolidLine, Qt::RoundCap));
    const qreal margem = r.width() * 0.18;
    const qreal passo = (r.height() - dobra - margem) / qMax(1, linhas);
    for (int i = 0; i < linhas; ++i) {
        const qreal y = r.top() + dobra + margem * 0.5 + passo * i;
        const qreal fim = i % 3 == 2 ? r.right() - r.width() * 0.4 : r.right() - margem;
        p.drawLine(QPointF(r.left() + margem, y), QPointF(fim, y));
    }
}

// A roll of paper tape seen from its side, its strip running to the right.
void rolo(QPainter& p, const QPointF& centro, qreal raio) {
    p.setPen(contorno());
    p.setBrush(kPapel);
    p.drawRect(QRectF(centro.x(), centro.y() + raio * 0.35, raio * 1.5, raio * 0.65));
    p.drawEllipse(centro, raio, raio);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kLinha, 1.2));
    p.drawEllipse(centro, raio * 0.62, raio * 0.62);
    p.setPen(contorno());
    p.setBrush(kCinza);
    p.drawEllipse(centro, raio * 0.28, raio * 0.28);
}

// A thick arrow from `de` to `ate`.
void seta(QPainter& p, const QPointF& de, const QPointF& ate, const QColor& cor) {
    const QLineF eixo(de, ate);
    const qreal ponta = 7.0;
    QLineF corpo(de, eixo.pointAt(1.0 - ponta / eixo.length()));
    p.setPen(QPen(cor, 3.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(corpo);
    QLineF lado(ate, de);
    lado.setLength(ponta);
    QLineF a = lado, b = lado;
    a.setAngle(lado.angle() + 35);
    b.setAngle(lado.angle() - 35);
    p.setPen(Qt::NoPen);
    p.setBrush(cor);
    p.drawPolygon(QPolygonF({ate, a.p2(), b.p2()}));
}

// A memory chip with its pins.
void chip(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kCinza, 1.8, Qt::SolidLine, Qt::FlatCap));
    const int pinos = 4;
    for (int i = 0; i < pinos; ++i) {
        const qreal y = r.top() + r.height() * (i + 0.5) / pinos;
        p.drawLine(QPointF(r.left() - 4, y), QPointF(r.left(), y));
        p.drawLine(QPointF(r.right(), y), QPointF(r.right() + 4, y));
    }
    p.setPen(contorno());
    p.setBrush(QColor(0x3c, 0x45, 0x50));
    p.drawRoundedRect(r, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(kLaranja);
    p.drawEllipse(QPointF(r.left() + 4, r.top() + 4), 1.6, 1.6);
    QFont fonte;
    fonte.setPixelSize(int(r.height() * 0.42));
    fonte.setBold(true);
    p.setFont(fonte);
    p.setPen(kPapel);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("MF"));
}

// A small file of binary data: a page with a dark band.
void arquivoBinario(QPainter& p, const QRectF& r) {
    pagina(p, r, 0);
    const QRectF faixa(r.left() + 1.5, r.center().y() - 1, r.width() - 3, r.height() * 0.32);
    p.setPen(Qt::NoPen);
    p.setBrush(kAzul);
    p.drawRect(faixa);
    QFont fonte;
    fonte.setPixelSize(6);
    fonte.setBold(true);
    p.setFont(fonte);
    p.setPen(kPapel);
    p.drawText(faixa, Qt::AlignCenter, QStringLiteral("MFD"));
}

void desenha(QPainter& p, Figura figura) {
    switch (figura) {
        case Figura::ArquivoMFD:
            rolo(p, QPointF(14, 14), 10);
            seta(p, QPointF(20, 26), QPointF(20, 44), kAzul);
            arquivoBinario(p, QRectF(26, 18, 19, 26));
            break;
        case Figura::EspelhoMFD:
            rolo(p, QPointF(12, 16), 9);
            seta(p, QPointF(8, 30), QPointF(23, 30), kVerde);
            pagina(p, QRectF(25, 6, 20, 36), 6);
            break;
        case Figura::EspelhoArquivo:
            arquivoBinario(p, QRectF(3, 6, 18, 24));
            seta(p, QPointF(12, 33), QPointF(24, 42), kVerde);
            pagina(p, QRectF(25, 8, 20, 36), 6);
            break;
        case Figura::DadosZ: {
            QPainterPath cupom;
            cupom.moveTo(11, 4);
            cupom.lineTo(37, 4);
            cupom.lineTo(37, 42);
            for (int i = 0; i < 6; ++i) {
                cupom.lineTo(37 - 26.0 / 6 * (i + 0.5), 45);
                cupom.lineTo(37 - 26.0 / 6 * (i + 1), 42);
            }
            cupom.closeSubpath();
            p.setPen(contorno());
            p.setBrush(kPapel);
            p.drawPath(cupom);
            p.setPen(QPen(kLinha, 1.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(15, 10), QPointF(33, 10));
            p.drawLine(QPointF(15, 14), QPointF(28, 14));
            QFont fonte;
            fonte.setPixelSize(22);
            fonte.setBold(true);
            p.setFont(fonte);
            p.setPen(kAzul);
            p.drawText(QRectF(11, 16, 26, 24), Qt::AlignCenter, QStringLiteral("Z"));
            break;
        }
        case Figura::DownloadMF:
            chip(p, QRectF(8, 5, 24, 20));
            seta(p, QPointF(20, 27), QPointF(20, 45), kAzul);
            pagina(p, QRectF(26, 20, 19, 25), 4);
            break;
        case Figura::ImprimirConfig: {
            pagina(p, QRectF(14, 3, 20, 20), 3);
            p.setPen(contorno());
            p.setBrush(kCinza);
            p.drawRoundedRect(QRectF(4, 18, 40, 18), 3, 3);
            p.setBrush(QColor(0x4a, 0x53, 0x5e));
            p.drawRect(QRectF(10, 32, 28, 10));
            p.setBrush(kPapel);
            p.drawRect(QRectF(13, 36, 22, 9));
            p.setPen(Qt::NoPen);
            p.setBrush(kVerde);
            p.drawEllipse(QPointF(38, 24), 2, 2);
            break;
        }
        case Figura::ValidarAssinatura: {
            pagina(p, QRectF(6, 3, 26, 36), 6);
            p.setPen(contorno());
            p.setBrush(kVerde);
            p.drawEllipse(QPointF(33, 33), 11, 11);
            p.setPen(QPen(kPapel, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(QPolygonF({QPointF(27.5, 33), QPointF(31.5, 37.5), QPointF(39, 28.5)}));
            break;
        }
    }
}

QPixmap imagem(Figura figura, qreal escala) {
    const int lado = qRound(kLadoFigura * escala);
    QPixmap pixmap(lado, lado);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(lado / kGrade, lado / kGrade);
    desenha(p, figura);
    p.end();
    pixmap.setDevicePixelRatio(escala);
    return pixmap;
}

}  // namespace

QIcon icone(Figura figura) {
    QIcon icone;
    for (const qreal escala : {1.0, 2.0}) icone.addPixmap(imagem(figura, escala));
    return icone;
}

}  // namespace uDadosMFeMFD
