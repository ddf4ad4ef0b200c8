#pragma once
// TGridClipboard: the clipboard as the pattern grid sees it. The grid reads and writes its
// blocks through it, so that tests can give a grid a clipboard of their own; the system's
// clipboard is the one every grid uses otherwise.

class QMimeData;

class TGridClipboard {
public:
    virtual ~TGridClipboard() = default;
    // What the clipboard holds now (null when nothing can be read).
    virtual const QMimeData *MimeData() const = 0;
    // The clipboard takes data (and owns it).
    virtual void SetMimeData(QMimeData *data) = 0;
};

// The system clipboard; without a GUI application a clipboard of this process only.
TGridClipboard &SystemGridClipboard();

// The clipboard format that marks a block with the grid that wrote it.
inline const char *const CF_Owner = "CF_Owner";
