#include "frmenergie.h"

#include <QChart>
#include <QChartView>
#include <QElapsedTimer>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {
// At most ten updates a second, and never more than a twentieth of the
// user-interface thread, which also runs the steps.
constexpr int KuerzesterAbstandMs = 100;
constexpr int AnteilKehrwert = 20;
// Points kept for the plot, about two per pixel of its width; beyond that
// every other one is dropped.
constexpr size_t MaxPunkte = 1000;

QString Zahl(double wert, int stellen = 6)
{
    if (!std::isfinite(wert))
        return QStringLiteral("–");
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(wert, 'G', stellen);
}

QString Hochgestellt(int zahl)
{
    static const QString ziffern = QStringLiteral("⁰¹²³⁴⁵⁶⁷⁸⁹");
    QString text = zahl < 0 ? QStringLiteral("⁻") : QString();
    for (QChar c : QString::number(std::abs(zahl)))
        text += ziffern[c.digitValue()];
    return text;
}
}  // namespace

FrmEnergie::FrmEnergie(const Lauf& lauf, QWidget* owner)
    : QWidget(owner, Qt::Window)
    , lauf_(lauf)
    , mod_(lauf.Mod())
{
    setObjectName(QStringLiteral("frmEnergie"));
    setWindowTitle(QStringLiteral("Energiebilanz"));
    auto* spalte = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    spalte->addLayout(form);
    const auto zeile = [&](const char* name, const char* beschriftung) {
        auto* wert = new QLabel(this);
        wert->setObjectName(QString::fromUtf8(name));
        wert->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(QString::fromUtf8(beschriftung), wert);
        return wert;
    };
    schrittText_ = zeile("lblSchritt", "Schritt:");
    kinetisch_ = zeile("lblKinetisch", "Kinetische Energie:");
    potentiell_ = zeile("lblPotentiell", "Potentielle Energie:");
    gesamt_ = zeile("lblGesamt", "Gesamtenergie:");
    impuls_ = zeile("lblImpuls", "Gesamtimpuls:");
    drehimpuls_ = zeile("lblDrehimpuls", "Drehimpuls um den Ursprung:");
    aenderung_ = zeile("lblAenderung", "Änderung der Gesamtenergie seit Schritt 0:");
    groessteText_ = zeile("lblGroesste", "Größte Änderung bisher:");
    groessteText_->setToolTip(QStringLiteral("Unter den Schritten, die dieses Fenster gezeigt hat"));

    kurve_ = new QLineSeries;
    kurve_->setPen(QPen(QColor(0x20, 0x50, 0xC0), 2));
    diagramm_ = new QChart;
    diagramm_->legend()->hide();
    diagramm_->setTitle(QStringLiteral("Relative Änderung der Gesamtenergie seit Schritt 0"));
    diagramm_->setLocalizeNumbers(true);
    diagramm_->addSeries(kurve_);
    achseX_ = new QValueAxis;
    achseX_->setTitleText(QStringLiteral("Schritt"));
    achseX_->setLabelFormat(QStringLiteral("%.0f"));
    achseY_ = new QValueAxis;
    achseY_->setLabelFormat(QStringLiteral("%.3g"));
    diagramm_->addAxis(achseX_, Qt::AlignBottom);
    diagramm_->addAxis(achseY_, Qt::AlignLeft);
    kurve_->attachAxis(achseX_);
    kurve_->attachAxis(achseY_);
    ansicht_ = new QChartView(diagramm_, this);
    ansicht_->setObjectName(QStringLiteral("chvVerlauf"));
    ansicht_->setRenderHint(QPainter::Antialiasing);
    ansicht_->setMinimumSize(420, 240);
    spalte->addWidget(ansicht_, 1);

    auto* hinweis = new QLabel(
        QStringLiteral("Ohne äußere Kräfte bleibt die Gesamtenergie erhalten. Dass sie sich hier ändert, "
                       "liegt am Rechenverfahren mit festen Schritten: Ein kleineres Berechnungsintervall "
                       "(Optionen) macht die Abweichung kleiner."),
        this);
    hinweis->setObjectName(QStringLiteral("lblHinweis"));
    hinweis->setWordWrap(true);
    spalte->addWidget(hinweis);

    uhr_.setInterval(KuerzesterAbstandMs);
    connect(&uhr_, &QTimer::timeout, this, &FrmEnergie::Aktualisieren);
    resize(520, 560);
    Zeichnen();
}

void FrmEnergie::showEvent(QShowEvent* ereignis)
{
    QWidget::showEvent(ereignis);
    Aktualisieren();
    uhr_.start();
}

void FrmEnergie::hideEvent(QHideEvent* ereignis)
{
    QWidget::hideEvent(ereignis);
    uhr_.stop();
}

bool FrmEnergie::event(QEvent* ereignis)
{
    // A top-level window paints itself and its children, the plot included,
    // on this request: the part of the work that comes after an update.
    if (ereignis->type() != QEvent::UpdateRequest)
        return QWidget::event(ereignis);
    QElapsedTimer zeit;
    zeit.start();
    const bool erledigt = QWidget::event(ereignis);
    zeichnenNs_ = zeit.nsecsElapsed();
    return erledigt;
}

void FrmEnergie::Aktualisieren()
{
    QElapsedTimer zeit;
    zeit.start();
    const int32_t n = lauf_.Schrittzahl();
    const double intervall = mod_.Intervall;
    // Bodies compared bit for bit: a NaN typed into the table is a change as well.
    const bool gleicherStart = gesehen_ && intervall == intervall_ && BitGleich(mod_.KoerperStart, start_);
    if (gleicherStart && n == schritt_ && (n == 0 || BitGleich(mod_.KoerperSim, sim_)))
        return;

    if (!gesehen_ || !BitGleich(mod_.KoerperStart, start_)) {
        // Other bodies: the history belongs to a run of the old ones.
        verlauf_.clear();
        groesste_ = 0;
        groessteBei_ = 0;
    }
    if (!gleicherStart) {
        start_ = mod_.KoerperStart;
        startbilanz_ = StartbilanzBerechnen(start_, intervall);
    }
    // Before the first step the run starts from the document set; the working
    // set may still hold the empty bodies of an open or a table commit.
    const Energiebilanz b = n == 0 ? startbilanz_ : EnergiebilanzBerechnen(mod_.KoerperSim, intervall);
    sim_ = mod_.KoerperSim;
    schritt_ = n;
    intervall_ = intervall;
    gesehen_ = true;
    const double aenderung = RelativeAenderung(b.Gesamt, startbilanz_.Gesamt);
    VerlaufFortschreiben(n, aenderung);

    const QString joule = QStringLiteral(" J");
    schrittText_->setText(QStringLiteral("%1 (%2 Tage)").arg(n).arg(Zahl(n * intervall, 15)));
    kinetisch_->setText(Zahl(b.Kinetisch) + joule);
    potentiell_->setText(Zahl(b.Potentiell) + joule);
    gesamt_->setText(Zahl(b.Gesamt) + joule);
    impuls_->setText(QStringLiteral("x: %1 kg·m/s,  y: %2 kg·m/s").arg(Zahl(b.ImpulsX), Zahl(b.ImpulsY)));
    drehimpuls_->setText(Zahl(b.Drehimpuls) + QStringLiteral(" kg·m²/s"));
    aenderung_->setText(Zahl(aenderung, 4));
    groessteText_->setText(verlauf_.empty() ? QStringLiteral("–")
                                            : QStringLiteral("%1 (bei Schritt %2)").arg(Zahl(groesste_, 4)).arg(groessteBei_));
    Zeichnen();

    // The painting this update causes comes later; the last one stands in for it.
    const qint64 ms = (zeit.nsecsElapsed() + zeichnenNs_) / 1000000;
    uhr_.setInterval(int(std::clamp<qint64>(ms * AnteilKehrwert, KuerzesterAbstandMs, 5000)));
}

void FrmEnergie::VerlaufFortschreiben(int32_t schritt, double aenderung)
{
    // A reset, an open or a redraw counts from 0 again: what lies beyond is gone.
    if (!verlauf_.empty() && verlauf_.back().schritt >= schritt) {
        while (!verlauf_.empty() && verlauf_.back().schritt >= schritt)
            verlauf_.pop_back();
        groesste_ = 0;
        groessteBei_ = 0;
        for (const Punkt& p : verlauf_)
            if (std::abs(p.aenderung) > std::abs(groesste_)) {
                groesste_ = p.aenderung;
                groessteBei_ = p.schritt;
            }
    }
    if (!std::isfinite(aenderung))
        return;
    verlauf_.push_back({schritt, aenderung});
    if (std::abs(aenderung) > std::abs(groesste_)) {
        groesste_ = aenderung;
        groessteBei_ = schritt;
    }
    if (verlauf_.size() > MaxPunkte) {
        // Every other point, the first and the last kept.
        size_t ziel = 1;
        for (size_t i = 2; i + 1 < verlauf_.size(); i += 2)
            verlauf_[ziel++] = verlauf_[i];
        verlauf_[ziel++] = verlauf_.back();
        verlauf_.resize(ziel);
    }
}

void FrmEnergie::Zeichnen()
{
    double groesster = 0;
    for (const Punkt& p : verlauf_)
        groesster = std::max(groesster, std::abs(p.aenderung));
    // Small changes are drawn in a power of ten named in the axis title, so
    // that the labels stay short.
    const int exponent = groesster > 0 ? int(std::floor(std::log10(groesster))) : 0;
    const int teiler = exponent >= -2 && exponent <= 2 ? 0 : exponent;
    const double faktor = std::pow(10.0, -teiler);
    QList<QPointF> punkte;
    punkte.reserve(qsizetype(verlauf_.size()));
    double unten = 0, oben = 0;
    for (const Punkt& p : verlauf_) {
        const double y = p.aenderung * faktor;
        punkte.append(QPointF(p.schritt, y));
        unten = std::min(unten, y);
        oben = std::max(oben, y);
    }
    kurve_->replace(punkte);
    achseY_->setTitleText(teiler ? QStringLiteral("× 10%1").arg(Hochgestellt(teiler)) : QString());
    if (oben - unten <= 0) {
        unten = -1;
        oben = 1;
    }
    const double rand = 0.05 * (oben - unten);
    achseY_->setRange(unten - (unten < 0 ? rand : 0), oben + (oben > 0 ? rand : 0));
    achseY_->applyNiceNumbers();
    achseX_->setRange(0, std::max(10.0, verlauf_.empty() ? 0.0 : double(verlauf_.back().schritt)));
    achseX_->applyNiceNumbers();
}
