// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MP4 (H.264), WebM (VP9) and animated GIF through FFmpeg's libraries:
// frames are converted (to YUV 4:2:0 in BT.709, or to the GIF's one
// palette), encoded with pts counted in 1/fps, and muxed through our own
// I/O callbacks into a Filmsenke.

#include "view/filmschreiber.h"

#include <QList>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

class FfmpegFilm : public Filmschreiber {
public:
    static std::unique_ptr<Filmschreiber> Oeffnen(const Filmvorgabe& vorgabe, QString& fehler);
    static std::optional<QString> NichtVerfuegbar(Filmformat format);

    ~FfmpegFilm() override;

    bool Bild(const QImage& bild) override;
    std::optional<QString> Abschliessen() override;
    void Verwerfen() override;

private:
    explicit FfmpegFilm(QSize groesse);
    bool Einrichten(const Filmvorgabe& vorgabe);
    bool Kodieren(AVFrame* frame);   // nullptr drains the encoder
    bool Scheitern(int averror);
    void Freigeben();

    std::unique_ptr<Filmsenke> senke_;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVStream* strom_ = nullptr;      // owned by format_
    AVFrame* frame_ = nullptr;
    AVPacket* paket_ = nullptr;
    SwsContext* sws_ = nullptr;
    QList<QRgb> palette_;            // GIF only
    bool kopf_ = false;              // the header is written and the trailer not yet
};
