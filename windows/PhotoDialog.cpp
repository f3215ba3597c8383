#include "windows/PhotoDialog.h"
#include "record/CompanionPhoto.h"
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kImageWidth = 180;    // a one-inch photo's shape, 3 : 4
constexpr int kImageHeight = 240;
}

PhotoDialog::PhotoDialog(AppointmentRecord &record, Interaction &ui, QWidget *parent)
    : QDialog(parent), m_record(record), m_ui(ui)
{
    setObjectName(QStringLiteral("frmPhotoView"));
    setWindowTitle(QStringLiteral("照片"));
    setModal(true);

    imgPhoto = new QLabel(this);
    imgPhoto->setObjectName(QStringLiteral("imgPhoto"));
    imgPhoto->setFixedSize(kImageWidth, kImageHeight);
    imgPhoto->setAlignment(Qt::AlignCenter);
    imgPhoto->setFrameShape(QFrame::Box);

    auto makeButton = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    cmdPhoto = makeButton("cmdPhoto", QStringLiteral("照  片"));
    cmdCls = makeButton("cmdCls", QStringLiteral("清  除"));
    cmdExit = makeButton("cmdExit", QStringLiteral("返  回"));

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdPhoto);
    buttons->addWidget(cmdCls);
    buttons->addStretch(1);
    buttons->addWidget(cmdExit);
    auto *main = new QHBoxLayout(this);
    main->addWidget(imgPhoto);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdPhoto, &QPushButton::clicked, this, [this] { choosePhoto(); });
    connect(cmdCls, &QPushButton::clicked, this, [this] { removePhoto(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { closeDialog(); });

    showPhoto();
}

QString PhotoDialog::fileDialogTitle() { return QStringLiteral("请指定照片文件名"); }

QString PhotoDialog::fileDialogFilter()
{
    // PNG and ".jpeg" are offered as well: the photo is decoded by content.
    return QStringLiteral("照片文件(*.bmp;*.jpg;*.pic)|*.bmp;*.jpg;*.pic;*.jpeg;*.png");
}

void PhotoDialog::showPhoto()
{
    if (!m_record.hasPhoto || m_record.photo.isNull()) {
        imgPhoto->clear();
        return;
    }
    imgPhoto->setPixmap(QPixmap::fromImage(m_record.photo)
                            .scaled(imgPhoto->size() - QSize(2, 2), Qt::KeepAspectRatio,
                                    Qt::SmoothTransformation));
}

void PhotoDialog::choosePhoto()
{
    const QString chosen = m_ui.openFileName(fileDialogTitle(), QString(), fileDialogFilter());
    PhotoProblem problem = PhotoProblem::None;
    const QImage image = chosen.isEmpty() ? QImage() : readPhotoFile(chosen, &problem);
    if (image.isNull()) {
        // A folder, pipe or device is never opened: reading a pipe would hang.
        const QString text =
            problem == PhotoProblem::NotAFile ? QStringLiteral("“%1”不是普通文件，不能作为照片！").arg(QDir::toNativeSeparators(chosen))
            : problem == PhotoProblem::TooLarge
                ? QStringLiteral("照片文件“%1”太大（超过 %2 MB），不能作为照片！")
                      .arg(QDir::toNativeSeparators(chosen))
                      .arg(kMaxPhotoBytes / (1024 * 1024))
                : QStringLiteral("你没有选择任何照片！");
        m_ui.message(QStringLiteral("系统"), text, MessageIcon::Information);
        return;
    }
    m_record.photo = image;
    m_record.photoPath = QFileInfo(chosen).absoluteFilePath();
    m_record.hasPhoto = true;
    m_record.isDirty = true;
    showPhoto();
}

void PhotoDialog::removePhoto()
{
    if (!m_record.hasPhoto)
        return;
    m_record.hasPhoto = false;
    m_record.isDirty = true;
    showPhoto();
}

void PhotoDialog::closeDialog()
{
    accept();
}
