// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffmpegfilm.h"

#include "view/dateisenke.h"

#include <QThread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstring>

namespace {

struct Art {
    AVCodecID codec;
    const char* muxer;
    const char* kodierer;   // for the reason when it is missing
    const char* name;
};

Art ArtVon(Filmformat f)
{
    switch (f) {
    case Filmformat::WebM:
        return {AV_CODEC_ID_VP9, "webm", "VP9", "WebM"};
    case Filmformat::Gif:
        return {AV_CODEC_ID_GIF, "gif", "GIF", "GIF"};
    case Filmformat::Mp4:
    case Filmformat::PngSerie:
        break;
    }
    return {AV_CODEC_ID_H264, "mp4", "H.264", "MP4"};
}

QString AvText(int fehler)
{
    char puffer[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(fehler, puffer, sizeof puffer);
    return QString::fromLocal8Bit(puffer);
}

// The AVIO callbacks: FFmpeg's buffered output goes to the sink. The
// write callback's buffer became const in libavformat 61.
#if LIBAVFORMAT_VERSION_MAJOR >= 61
int Schreiben(void* senke, const uint8_t* daten, int anzahl)
#else
int Schreiben(void* senke, uint8_t* daten, int anzahl)
#endif
{
    return static_cast<Filmsenke*>(senke)->Schreiben(daten, anzahl) ? anzahl : AVERROR(EIO);
}

int64_t Springen(void* opaque, int64_t versatz, int woher)
{
    auto* senke = static_cast<Filmsenke*>(opaque);
    woher &= ~AVSEEK_FORCE;
    int64_t ziel = versatz;
    switch (woher) {
    case AVSEEK_SIZE:
        return senke->Groesse();
    case SEEK_SET:
        break;
    case SEEK_CUR:
        ziel = senke->Stelle() + versatz;
        break;
    case SEEK_END:
        ziel = senke->Groesse() + versatz;
        break;
    default:
        return AVERROR(EINVAL);
    }
    return senke->Springen(ziel) ? ziel : AVERROR(EIO);
}

// One palette for the whole GIF, so every frame shares the global colour
// table and unchanged pixels can stay transparent: white, greys for the
// text's edges, the trails' own colours, then a colour cube for the rest.
QList<QRgb> GifPalette(const std::vector<QRgb>& farben)
{
    QList<QRgb> p;
    const auto dazu = [&p](QRgb c) {
        c |= 0xFF000000u;
        if (p.size() < 256 && !p.contains(c))
            p.push_back(c);
    };
    for (int g = 255; g >= 0; g -= 17)
        dazu(qRgb(g, g, g));
    dazu(qRgb(0x30, 0x30, 0x30));   // the dots' outline and the text
    for (std::size_t i = 0; i < farben.size() && p.size() < 224; ++i)
        dazu(farben[i]);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                dazu(qRgb(r * 51, g * 51, b * 51));
    return p;
}

}  // namespace

std::optional<QString> FfmpegFilm::NichtVerfuegbar(Filmformat format)
{
    const Art art = ArtVon(format);
    if (!av_guess_format(art.muxer, nullptr, nullptr))
        return QStringLiteral("Die installierte Bibliothek libavformat kann keine %1-Dateien schreiben.")
            .arg(QString::fromLatin1(art.name));
    if (!avcodec_find_encoder(art.codec))
        return QStringLiteral("Der installierten Bibliothek libavcodec fehlt ein %1-Kodierer.")
            .arg(QString::fromLatin1(art.kodierer));
    return std::nullopt;
}

std::unique_ptr<Filmschreiber> FfmpegFilm::Oeffnen(const Filmvorgabe& vorgabe, QString& fehler)
{
    // The program writes no log; failures come back as values.
    av_log_set_level(AV_LOG_QUIET);
    if (const auto grund = NichtVerfuegbar(vorgabe.Format)) {
        fehler = *grund;
        return nullptr;
    }
    const Senkenfabrik fabrik = vorgabe.Senken ? vorgabe.Senken : Senkenfabrik(&Dateisenke::Oeffnen);
    std::unique_ptr<FfmpegFilm> film(new FfmpegFilm(vorgabe.Groesse));
    film->senke_ = fabrik(vorgabe.Ziel, fehler);
    if (!film->senke_)
        return nullptr;
    if (!film->Einrichten(vorgabe)) {
        fehler = film->fehler_;
        film->Verwerfen();
        return nullptr;
    }
    return film;
}

FfmpegFilm::FfmpegFilm(QSize groesse)
    : Filmschreiber(groesse)
{
}

FfmpegFilm::~FfmpegFilm()
{
    Verwerfen();
}

bool FfmpegFilm::Einrichten(const Filmvorgabe& vorgabe)
{
    const Art art = ArtVon(vorgabe.Format);
    const AVCodec* kodierer = avcodec_find_encoder(art.codec);
    if (avformat_alloc_output_context2(&format_, nullptr, art.muxer, nullptr) < 0 || !format_)
        return Scheitern(AVERROR(ENOMEM));

    constexpr int Puffer = 1 << 16;
    auto* puffer = static_cast<unsigned char*>(av_malloc(Puffer));
    format_->pb = puffer ? avio_alloc_context(puffer, Puffer, 1, senke_.get(), nullptr, &Schreiben, &Springen) : nullptr;
    if (!format_->pb) {
        av_free(puffer);
        return Scheitern(AVERROR(ENOMEM));
    }
    format_->flags |= AVFMT_FLAG_CUSTOM_IO;

    strom_ = avformat_new_stream(format_, nullptr);
    codec_ = avcodec_alloc_context3(kodierer);
    frame_ = av_frame_alloc();
    paket_ = av_packet_alloc();
    if (!strom_ || !codec_ || !frame_ || !paket_)
        return Scheitern(AVERROR(ENOMEM));

    const bool gif = vorgabe.Format == Filmformat::Gif;
    codec_->width = groesse_.width();
    codec_->height = groesse_.height();
    codec_->time_base = AVRational{1, vorgabe.Bildrate};
    codec_->framerate = AVRational{vorgabe.Bildrate, 1};
    codec_->pix_fmt = gif ? AV_PIX_FMT_PAL8 : AV_PIX_FMT_YUV420P;
    // A live film leaves one core to the run it records (the frame is
    // drawn and converted on a thread of its own); a film computed ahead
    // takes as many as the encoder finds useful.
    codec_->thread_count = vorgabe.NebenLauf ? std::max(1, QThread::idealThreadCount() - 1) : 0;
    if (!gif) {
        // A key frame every two seconds, so players can seek.
        codec_->gop_size = 2 * vorgabe.Bildrate;
        codec_->colorspace = AVCOL_SPC_BT709;
        codec_->color_primaries = AVCOL_PRI_BT709;
        codec_->color_trc = AVCOL_TRC_BT709;
        codec_->color_range = AVCOL_RANGE_MPEG;
    }
    if (vorgabe.Format == Filmformat::Mp4) {
        // Mostly white with thin lines: the fastest settings keep them sharp
        // enough, so a live recording holds the run back least, and CRF 20
        // keeps the frames within a few levels of the picture.
        av_opt_set(codec_->priv_data, "preset", "ultrafast", 0);
        av_opt_set(codec_->priv_data, "crf", "20", 0);
    } else if (vorgabe.Format == Filmformat::WebM) {
        // Constant quality; libvpx's slower "good" speeds take seconds a frame.
        codec_->bit_rate = 0;
        av_opt_set(codec_->priv_data, "crf", "30", 0);
        av_opt_set(codec_->priv_data, "deadline", "realtime", 0);
        av_opt_set(codec_->priv_data, "cpu-used", "8", 0);
        av_opt_set(codec_->priv_data, "row-mt", "1", 0);
    }
    if (format_->oformat->flags & AVFMT_GLOBALHEADER)
        codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    int r = avcodec_open2(codec_, kodierer, nullptr);
    if (r < 0)
        return Scheitern(r);
    r = avcodec_parameters_from_context(strom_->codecpar, codec_);
    if (r < 0)
        return Scheitern(r);
    strom_->time_base = codec_->time_base;
    strom_->avg_frame_rate = codec_->framerate;

    frame_->format = codec_->pix_fmt;
    frame_->width = codec_->width;
    frame_->height = codec_->height;
    r = av_frame_get_buffer(frame_, 0);
    if (r < 0)
        return Scheitern(r);

    if (gif) {
        palette_ = GifPalette(vorgabe.Farben);
    } else {
        // The colour planes have half the resolution: averaging keeps a
        // trail one pixel wide evenly coloured, where taking one pixel of
        // four would leave it grey in every other block.
        sws_ = sws_getContext(codec_->width, codec_->height, AV_PIX_FMT_RGB32, codec_->width, codec_->height,
                              AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!sws_)
            return Scheitern(AVERROR(ENOMEM));
        // Full-range RGB to limited-range BT.709, as the stream says.
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(sws_, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }

    r = avformat_write_header(format_, nullptr);
    if (r < 0)
        return Scheitern(r);
    kopf_ = true;
    return true;
}

bool FfmpegFilm::Scheitern(int averror)
{
    if (fehler_.isEmpty()) {
        if (senke_ && !senke_->Fehler().isEmpty())
            fehler_ = senke_->Fehler();
        else
            fehler_ = QStringLiteral("Der Film konnte nicht kodiert werden (%1).").arg(AvText(averror));
    }
    return false;
}

bool FfmpegFilm::Bild(const QImage& bild)
{
    if (!fehler_.isEmpty() || !codec_)
        return false;
    const QImage rgb = Angepasst(bild);
    // A frame the encoder still holds is replaced, not copied: every pixel
    // of it is written anew.
    if (!av_frame_is_writable(frame_)) {
        av_frame_unref(frame_);
        frame_->format = codec_->pix_fmt;
        frame_->width = codec_->width;
        frame_->height = codec_->height;
        if (const int r = av_frame_get_buffer(frame_, 0); r < 0)
            return Scheitern(r);
    }
    if (sws_) {
        const uint8_t* quelle[1] = {rgb.constBits()};
        const int schritt[1] = {int(rgb.bytesPerLine())};
        sws_scale(sws_, quelle, schritt, 0, rgb.height(), frame_->data, frame_->linesize);
    } else {
        const QImage index = rgb.convertToFormat(QImage::Format_Indexed8, palette_, Qt::ThresholdDither);
        for (int y = 0; y < index.height(); ++y)
            std::memcpy(frame_->data[0] + std::ptrdiff_t(y) * frame_->linesize[0], index.constScanLine(y),
                        std::size_t(index.width()));
        auto* farben = reinterpret_cast<uint32_t*>(frame_->data[1]);
        for (int i = 0; i < 256; ++i)
            farben[i] = i < palette_.size() ? palette_[i] : 0xFFFFFFFFu;
    }
    frame_->pts = bilder_;
    if (!Kodieren(frame_))
        return false;
    ++bilder_;
    return true;
}

bool FfmpegFilm::Kodieren(AVFrame* frame)
{
    int r = avcodec_send_frame(codec_, frame);
    if (r < 0)
        return Scheitern(r);
    for (;;) {
        r = avcodec_receive_packet(codec_, paket_);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
            break;
        if (r < 0)
            return Scheitern(r);
        av_packet_rescale_ts(paket_, codec_->time_base, strom_->time_base);
        paket_->stream_index = strom_->index;
        r = av_interleaved_write_frame(format_, paket_);
        if (r < 0)
            return Scheitern(r);
    }
    return senke_->Fehler().isEmpty() || Scheitern(AVERROR(EIO));
}

std::optional<QString> FfmpegFilm::Abschliessen()
{
    if (fehler_.isEmpty() && codec_ && bilder_ > 0) {
        if (Kodieren(nullptr)) {
            const int r = av_write_trailer(format_);
            kopf_ = false;
            if (r < 0)
                Scheitern(r);
            else {
                avio_flush(format_->pb);
                if (format_->pb->error < 0)
                    Scheitern(format_->pb->error);
            }
        }
    }
    if (!fehler_.isEmpty() || bilder_ == 0) {
        Verwerfen();
        return fehler_.isEmpty() ? std::nullopt : std::optional<QString>(fehler_);
    }
    auto ergebnis = senke_->Uebernehmen();
    if (ergebnis)
        fehler_ = *ergebnis;
    senke_.reset();
    Freigeben();
    return ergebnis;
}

void FfmpegFilm::Verwerfen()
{
    // The muxer is freed first: it may still hold the sink through its I/O context.
    Freigeben();
    if (senke_) {
        senke_->Verwerfen();
        senke_.reset();
    }
}

void FfmpegFilm::Freigeben()
{
    // Only the trailer frees what a muxer still holds of the packets it
    // interleaves; on a film being dropped it writes into a sink that is
    // thrown away anyway.
    if (format_ && kopf_)
        av_write_trailer(format_);
    kopf_ = false;
    if (format_) {
        AVIOContext* pb = format_->pb;
        avformat_free_context(format_);
        format_ = nullptr;
        if (pb) {
            av_freep(&pb->buffer);
            avio_context_free(&pb);
        }
    }
    strom_ = nullptr;
    avcodec_free_context(&codec_);
    av_frame_free(&frame_);
    av_packet_free(&paket_);
    sws_freeContext(sws_);
    sws_ = nullptr;
}
