#pragma once
// TackForm2601, the label start-position picker: twelve tiles laid out as
// the sheet's labels; clicking one makes it the first label printed.

#include <QWidget>

class QLabel;

namespace desk {

class TackForm2601 : public QWidget {
public:
    explicit TackForm2601(QWidget* parent = nullptr);

    // Opening shows tile 0 highlighted; the start position stays as it is.
    void highlight(int tile);
    void choose(int tile);
    int highlighted() const { return highlighted_; }
    QLabel* tile(int index) const;

    // The one picker of the run, created on first use.
    static TackForm2601* open();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    int highlighted_ = 0;
};

inline const QColor kTileHighlight(123, 175, 114);

} // namespace desk
