// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Films read back through FFmpeg's libraries, as a player would: how many
// frames, their size and the last one, for comparing with the picture.

#include <QFile>
#include <QImage>
#include <QSize>
#include <QString>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cstdlib>

// Every frame of a film decoded through FFmpeg: how many, their size, and
// the last one as 32-bit RGB.
struct Dekodiert {
    int bilder = 0;
    QSize groesse;
    QImage letztes;
};

inline Dekodiert Dekodieren(const QString& pfad)
{
    Dekodiert d;
    AVFormatContext* fmt = nullptr;
    const QByteArray name = QFile::encodeName(pfad);
    if (avformat_open_input(&fmt, name.constData(), nullptr, nullptr) < 0)
        return d;
    avformat_find_stream_info(fmt, nullptr);
    const AVCodec* codec = nullptr;
    const int strom = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    AVCodecContext* ctx = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(ctx, fmt->streams[strom]->codecpar);
    avcodec_open2(ctx, codec, nullptr);
    AVPacket* paket = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto abholen = [&] {
        while (avcodec_receive_frame(ctx, frame) == 0) {
            ++d.bilder;
            d.groesse = QSize(frame->width, frame->height);
            d.letztes = QImage(d.groesse, QImage::Format_RGB32);
            SwsContext* sws = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                                             frame->height, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr);
            const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
            sws_setColorspaceDetails(sws, bt709, 0, bt709, 1, 0, 1 << 16, 1 << 16);
            uint8_t* ziel[1] = {d.letztes.bits()};
            const int zeile[1] = {int(d.letztes.bytesPerLine())};
            sws_scale(sws, frame->data, frame->linesize, 0, frame->height, ziel, zeile);
            sws_freeContext(sws);
        }
    };
    while (av_read_frame(fmt, paket) >= 0) {
        if (paket->stream_index == strom)
            avcodec_send_packet(ctx, paket);
        av_packet_unref(paket);
        abholen();
    }
    avcodec_send_packet(ctx, nullptr);
    abholen();
    av_frame_free(&frame);
    av_packet_free(&paket);
    avcodec_free_context(&ctx);
    avformat_close_input(&fmt);
    return d;
}

// Mean absolute difference over all channels, in levels of 255.
inline double Abweichung(const QImage& a, const QImage& b)
{
    double summe = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            summe += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return summe / (3.0 * a.width() * a.height());
}

