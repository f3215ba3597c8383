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
    if (chosen.isEmpty())
        return;   // cancelled: nothing to say
    if (attachPhotoFile(m_record, chosen, m_ui))
        showPhoto();
}

bool PhotoDialog::attachPhotoFile(AppointmentRecord &record, const QString &path, Interaction &ui)
{
    PhotoProblem problem = PhotoProblem::None;
    const QImage image = readPhotoFile(path, &problem);
    if (image.isNull()) {
        const QString shown = QDir::toNativeSeparators(path);
        // A folder, pipe or device is never opened: reading a pipe would hang.
        const QString text =
            problem == PhotoProblem::NotAFile     ? QStringLiteral("“%1”不是普通文件，不能作为照片！").arg(shown)
            : problem == PhotoProblem::Unreadable ? QStringLiteral("照片文件“%1”无法读取，照片没有改变。").arg(shown)
            : problem == PhotoProblem::TooLarge
                ? QStringLiteral("照片文件“%1”太大（超过 %2 MB），不能作为照片！").arg(shown).arg(kMaxPhotoBytes / (1024 * 1024))
                : QStringLiteral("文件“%1”已损坏或不是图片，照片没有改变。").arg(shown);
        ui.message(QStringLiteral("系统"), text, MessageIcon::Information);
        return false;
    }
    record.photo = image;
    record.photoPath = QFileInfo(path).absoluteFilePath();
    record.hasPhoto = true;
    record.isDirty = true;
    return true;
}

void PhotoDialog::removePhoto()
{
    if (!m_record.hasPhoto)
        return;
    // Asked here, once: the next save then deletes the photo file beside the document.
    if (!m_ui.askYesNo(QStringLiteral("系统"), QStringLiteral("要清除照片吗？\r\n保存时，文件旁的照片文件也会删除。")))
        return;
    m_record.hasPhoto = false;
    m_record.isDirty = true;
    showPhoto();
}

void PhotoDialog::closeDialog()
{
    accept();
}
