#pragma once
// TPicSizeRules: how the size boxes of the pattern-size and grid-settings dialogs follow
// each other.
// The width and height boxes start at the pattern's size; r = width / height is kept from
// the start. While the ratio is kept, a typed width sets the height to Round(width / r) and
// a typed height the width to Round(height x r); the box changed this way does not answer
// in turn. In percent mode both sides come from the starting size: max(Round(side x p /
// 100), 1). A box that is empty or holds "0" is still being typed: nothing follows.

#include <QString>

class TPicSizeRules {
public:
    // The starting size (each side at least 1).
    void Start(int width, int height);
    int StartWidth() const { return m_startWidth; }
    int StartHeight() const { return m_startHeight; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Changed() const { return m_width != m_startWidth || m_height != m_startHeight; }

    bool KeepRatio() const { return m_keepRatio; }
    // Ticking the box applies the ratio from the width.
    void SetKeepRatio(bool keep);
    bool PercentMode() const { return m_percentMode; }
    int Percent() const { return m_percent; }
    // Percent mode on applies percent at once; off leaves the size as it is.
    void SetPercentMode(bool on, int percent);

    // What the user typed into a box. Each returns true when a side changed (the dialog
    // then shows Width and Height); an empty box, "0" or text that is no number does
    // nothing.
    bool WidthTyped(const QString &text);
    bool HeightTyped(const QString &text);
    bool PercentTyped(const QString &text);

private:
    void applyPercent();

    int m_startWidth = 1;
    int m_startHeight = 1;
    double m_ratio = 1.0;
    int m_width = 1;
    int m_height = 1;
    bool m_keepRatio = false;
    bool m_percentMode = false;
    int m_percent = 100;
};
