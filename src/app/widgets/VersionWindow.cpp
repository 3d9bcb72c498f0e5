#include "app/widgets/VersionWindow.h"

#include "app/MainCommands.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

VersionWindow::VersionWindow(Workbench &wb)
    : QuavDialog(wb)
{
    setWindowTitle(MainCommands::kVersionCaption);
    auto *layout = new QVBoxLayout(this);
    auto *product = new QLabel(MainCommands::kVersionText, this);
    product->setObjectName(QStringLiteral("LBL_VERSION"));
    QFont f = product->font();
    f.setPointSize(f.pointSize() + 4);
    product->setFont(f);
    product->setAlignment(Qt::AlignCenter);
    layout->addWidget(product);
    layout->addWidget(new QLabel(QStringLiteral("Multi-File Search Workbench"), this), 0, Qt::AlignCenter);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { finish(); });
    layout->addWidget(buttons);
}
