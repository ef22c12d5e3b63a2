// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmenergie.h"

#include <QChart>
#include <QChartView>
#include <QElapsedTimer>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QMetaObject>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <cmath>

#ifdef __linux__
#include <time.h>
#endif

namespace {
// At most ten updates a second, and never more than a twentieth of a
// processor, wherever the computation runs: the step wants both (on the
// worker it waits behind the balance). A very large system still gets a
// balance every minute.
constexpr int KuerzesterAbstandMs = 100;
constexpr int AnteilKehrwert = 20;
constexpr int LaengsterAbstandMs = 60000;
// Up to this many pairs (2,048 bodies) the sum takes a few milliseconds and
// is computed at once, like the step of such a system: a thread would only
// delay the answer.
constexpr double DirektePaareBis = 2048.0 * 2047.0 / 2;
// Points kept for the plot, about two per pixel of its width; beyond that
// every other one is dropped.
constexpr size_t MaxPunkte = 1000;

// Processor time the calling thread has used, in ns: what the computation
// takes from the machine, however long others kept it waiting.
qint64 RechenzeitNs()
{
#ifdef __linux__
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
#else
    static const QElapsedTimer seitStart = [] {
        QElapsedTimer z;
        z.start();
        return z;
    }();
    return seitStart.nsecsElapsed();
#endif
}

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

// One update's computation: what it reads, copied on the user-interface
// thread, and what it finds. Shared by the window and the worker computing it.
struct FrmEnergie::Auftrag {
    Laufstand stand;              // the run as it stood
    bool andereKoerper = false;   // the document set changed: the history belongs to the old one
    bool neuerStart = false;      // the start balance is computed as well (other bodies or interval)
    KoerperSatz start;            // the document set, when neuerStart
    double startIntervall = 0;    // the document's interval, which the start builds with
    uint64_t dokumentNummer = 0;  // the run's count of document sets when it was read
    Energiebilanz startbilanz;
    Energiebilanz bilanz;         // of the working set, after the first step only
    qint64 rechenNs = 0;          // processor time, not the time it took to come back

    double Paare() const
    {
        const auto paare = [](size_t n) { return double(n) * double(n > 0 ? n - 1 : 0) / 2; };
        return (neuerStart ? paare(start.size()) : 0.0)
             + (stand.Schrittzahl != 0 ? paare(stand.KoerperSim.size()) : 0.0);
    }

    void Rechnen(const std::atomic<bool>* abbrechen)
    {
        const qint64 beginn = RechenzeitNs();
        if (neuerStart)
            startbilanz = StartbilanzBerechnen(start, startIntervall, abbrechen);
        if (stand.Schrittzahl != 0)
            bilanz = EnergiebilanzBerechnen(stand.KoerperSim, stand.Intervall, Befehlssatz::Automatisch, abbrechen);
        rechenNs = RechenzeitNs() - beginn;
    }
};

FrmEnergie::FrmEnergie(const Lauf& lauf, Arbeiter& arbeiter, QWidget* owner)
    : QWidget(owner, Qt::Window)
    , lauf_(lauf)
    , mod_(lauf.Mod())
    , arbeiter_(arbeiter)
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
        // As wide as the widest value from the start: the columns keep their width while the numbers change.
        wert->setMinimumWidth(
            wert->fontMetrics().horizontalAdvance(QStringLiteral("x: -8,88888E+888 kg·m/s,  y: -8,88888E+888 kg·m/s")));
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
                       "(Optionen) macht die Abweichung kleiner. Gemessen wird im festen Bezugssystem, "
                       "in welchem Bezugssystem das Bild die Bewegung auch zeigt."),
        this);
    hinweis->setObjectName(QStringLiteral("lblHinweis"));
    hinweis->setWordWrap(true);
    spalte->addWidget(hinweis);

    abstandMs_ = KuerzesterAbstandMs;
    naechste_.setSingleShot(true);
    connect(&naechste_, &QTimer::timeout, this, &FrmEnergie::Aktualisieren);
    connect(&lauf_, &Lauf::standGeaendert, this, &FrmEnergie::LaufGeaendert);
    resize(520, 560);
    Zeichnen();
}

FrmEnergie::~FrmEnergie()
{
    Aufgeben();
    // Before the window goes, so that nothing is posted to it afterwards.
    marke_.Abwarten();
}

void FrmEnergie::showEvent(QShowEvent* ereignis)
{
    QWidget::showEvent(ereignis);
    folgt_ = true;
    Aktualisieren();
}

void FrmEnergie::hideEvent(QHideEvent* ereignis)
{
    QWidget::hideEvent(ereignis);
    folgt_ = false;
    naechste_.stop();
    // A hidden window shows nothing: the worker belongs to the step.
    Aufgeben();
}

void FrmEnergie::LaufGeaendert()
{
    offen_ = true;
    Planen();
}

void FrmEnergie::Planen()
{
    if (!folgt_ || !offen_ || auftrag_ || naechste_.isActive())
        return;
    // Never inside the run's announcement, and never sooner than the share allows.
    const qint64 warten = seitLetzter_.isValid() ? abstandMs_ - seitLetzter_.elapsed() : 0;
    naechste_.start(int(std::clamp<qint64>(warten, 0, LaengsterAbstandMs)));
}

void FrmEnergie::Aufgeben()
{
    if (!auftrag_)
        return;
    // It stops within a few milliseconds; a result it posted already no
    // longer matches auftrag_. What it was to show is looked at anew.
    marke_.Abbrechen();
    auftrag_.reset();
    offen_ = true;
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
    if (auftrag_)
        return;   // the result looks again when it comes
    QElapsedTimer zeit;
    zeit.start();
    // Where the run stands, as one: during a redraw the state it began from.
    const Laufstand& stand = lauf_.Stand();
    const int32_t n = stand.Schrittzahl;
    // What changed the run says: nothing here compares bodies.
    const bool andereKoerper = !gesehen_ || lauf_.Dokumentnummer() != dokumentNummer_;
    const bool gleicherStart = !andereKoerper && mod_.Intervall == startIntervall_;
    if (gleicherStart && n == gezeigt_.Schrittzahl && (n == 0 || !offen_))
        return;
    offen_ = false;

    seitLetzter_.start();
    auto a = std::make_shared<Auftrag>();
    a->stand.Schrittzahl = n;
    a->stand.Intervall = stand.Intervall;
    a->andereKoerper = andereKoerper;
    a->neuerStart = !gleicherStart;
    a->dokumentNummer = lauf_.Dokumentnummer();
    a->startIntervall = mod_.Intervall;
    if (a->neuerStart)
        a->start = mod_.KoerperStart;
    // Into the buffer of an earlier update: fresh memory of 2.6 MB (32,767
    // bodies) costs milliseconds of page faults on this thread.
    a->stand.KoerperSim = std::move(frei_);
    a->stand.KoerperSim.assign(stand.KoerperSim.begin(), stand.KoerperSim.end());
    leseNs_ = zeit.nsecsElapsed();

    if (a->Paare() > DirektePaareBis) {
        marke_ = arbeiter_.Abgeben({[a](const std::atomic<bool>& abgebrochen) { a->Rechnen(&abgebrochen); }, this,
                                    [this, a] {
                                        if (a == auftrag_)
                                            AufErgebnisWarten();
                                    }});
        auftrag_ = std::move(a);
        return;
    }
    a->Rechnen(nullptr);
    Zeigen(*a);
    Planen();
}

void FrmEnergie::AufErgebnisWarten()
{
    if (!auftrag_)
        return;
    marke_.Abwarten();
    const std::shared_ptr<Auftrag> a = std::move(auftrag_);
    auftrag_.reset();
    Zeigen(*a);
    // Whatever the run did meanwhile.
    Planen();
}

void FrmEnergie::Zeigen(Auftrag& a)
{
    QElapsedTimer zeit;
    zeit.start();
    if (a.andereKoerper) {
        // Other bodies: the history belongs to a run of the old ones.
        verlauf_.clear();
        groesste_ = 0;
        groessteBei_ = 0;
    }
    if (a.neuerStart) {
        dokumentNummer_ = a.dokumentNummer;
        startIntervall_ = a.startIntervall;
        startbilanz_ = a.startbilanz;
    }
    const int32_t n = a.stand.Schrittzahl;
    const double intervall = a.stand.Intervall;
    // Before the first step the run starts from the document set, which the
    // working set is built from only then.
    const Energiebilanz b = n == 0 ? startbilanz_ : a.bilanz;
    std::swap(gezeigt_, a.stand);
    frei_ = std::move(a.stand.KoerperSim);
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

    // The painting this update causes comes later; the last one stands in
    // for it. The computation counts wherever it ran, but only the time it
    // ran, not the time it waited behind a step.
    const qint64 ms = (leseNs_ + a.rechenNs + zeit.nsecsElapsed() + zeichnenNs_) / 1000000;
    abstandMs_ = int(std::clamp<qint64>(ms * AnteilKehrwert, KuerzesterAbstandMs, LaengsterAbstandMs));
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
