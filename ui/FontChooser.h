#pragma once

#include <QFont>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// Picks a face, a weight and a size in tenths of a point, and shows a sample
// line in the font picked. Only what the program keeps is offered: italic and
// the other effects reach neither the editor nor the prompter, so they are
// not choices here.
class FontChooser : public QWidget
{
    Q_OBJECT
  public:
    /// A chooser listing the system's font families, at Regular 12 pt, no face picked.
    explicit FontChooser(QWidget* parent = nullptr);

    /// Shows `font`'s family (listed even when the system lacks it), the
    /// offered weight nearest to its weight, and its size clamped to 1..1638 pt.
    void SetFont(const QFont& font);
    /// The face, weight and size picked; the size is the last valid one typed.
    QFont CurrentFont() const;
    /// Draws the sample line in `color`.
    void SetSampleColor(const QColor& color);
    /// The family picked; empty when none is.
    QString Face() const;
    /// The weight picked, 100..900.
    int Weight() const;
    /// The size picked in tenths of a point: the last valid one typed.
    int SizeTenths() const { return m_sizeTenths; }
    /// Whether the size field holds a size the chooser accepts.
    bool HasValidSize() const { return m_sizeValid; }

    /// The field that narrows the family list to names containing its text.
    QLineEdit* FaceFilter() const { return m_faceFilter; }
    /// The list of families.
    QListWidget* FaceList() const { return m_faces; }
    /// The weights the picked family offers (Regular and Bold always).
    QComboBox* WeightBox() const { return m_weights; }
    /// The editable size field with the usual sizes in its list.
    QComboBox* SizeBox() const { return m_sizes; }

  signals:
    /// Fires whenever the face, weight, size or the size field's validity changes.
    void Changed();

  private:
    void SelectFace(const QString& face);
    void FilterFaces(const QString& text);
    void FillWeights(int preferred);
    void SizeTextEdited(const QString& text);
    void Update();

    QLineEdit* m_faceFilter;
    QListWidget* m_faces;
    QComboBox* m_weights;
    QComboBox* m_sizes;
    QLabel* m_sample;
    int m_sizeTenths = 120;
    bool m_sizeValid = true;
};
