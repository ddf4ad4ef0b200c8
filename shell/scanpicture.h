#pragma once
// TScanPicture: the picture a scan builds from the frames a scanner sends.
// A scanner sends one frame (grey or colour) or three (red, green and blue, one pass each),
// each as lines of packed samples of 1, 8 or 16 bits; a hand scanner does not say how many
// lines come. The picture takes the bytes as they are read, in pieces of any length, and
// gives an 8-bit grey or a 24-bit colour picture. Sizes are checked against the picture
// budget before anything is allocated.

#include <QByteArray>
#include <QImage>
#include <QString>

enum class TScanFrame { Gray, Rgb, Red, Green, Blue };

struct TScanFrameParams {
    TScanFrame Format = TScanFrame::Gray;
    bool LastFrame = true;
    int BytesPerLine = 0;
    int PixelsPerLine = 0;
    int Lines = -1; // -1: not known before the end
    int Depth = 8; // bits per sample
};

class TScanPicture {
public:
    // Starts a frame. False with a message for a form the picture cannot take (a frame
    // format or depth it does not know, line sizes that do not fit), a size beyond the
    // budget, or a pass that does not match the first one.
    bool BeginFrame(const TScanFrameParams &params, QString *error = nullptr);
    // Takes the next bytes of the frame. False with a message when the frame grows beyond
    // the lines it announced or beyond the budget.
    bool Append(const char *data, qsizetype size, QString *error = nullptr);
    // Ends the frame. False with a message when fewer lines came than announced (or than
    // the first pass had).
    bool EndFrame(QString *error = nullptr);

    // How far the scan is, 0 to 100; -1 while the number of lines is not known.
    int Percent() const;
    // The picture: 8-bit with a grey colour table for a grey scan, RGB888 for a colour one;
    // null before a frame has ended.
    QImage Picture() const;

private:
    bool convertLine(QString *error);
    bool growTo(int lines, QString *error);

    TScanFrameParams m_params;
    bool m_colour = false;
    int m_width = 0;
    int m_lines = -1; // the picture's lines: announced, or known once the first pass ended
    int m_line = 0; // lines of this frame done
    int m_framesDone = 0;
    int m_passes = 1;
    bool m_inFrame = false;
    QByteArray m_partial; // the bytes of a line not yet complete
    QByteArray m_pixels; // 1 or 3 bytes a pixel, rows top first
};
