#include "panel/PanelTrees.h"

#include "analysis/Recalculation.h"
#include "model/Text.h"
#include "panel/ApTreeCommands.h"
#include "panel/ApTreeCtrl.h"
#include "panel/PanelIcons.h"

#include <QList>

namespace tarvo {

namespace {

bool IsMember(const CTarvoAnalyzerDoc& doc, const CGroupItem& item) {
    return item.apIndex >= 0 && item.apIndex < doc.aps.GetSize();
}

// The colour an item's swatch shows, kept beside it: icons cannot be
// compared, and an unchanged item must not be told it changed (every change
// makes the tree measure all its rows again).
constexpr int kSwatchRole = Qt::UserRole + 1;
constexpr qlonglong kNeutralSwatch = -1;

void SetSwatch(QTreeWidgetItem* item, qlonglong colour) {
    const QVariant shown = item->data(0, kSwatchRole);
    if (shown.isValid() && shown.toLongLong() == colour)
        return;
    item->setData(0, kSwatchRole, colour);
    item->setIcon(0, colour == kNeutralSwatch ? NeutralSwatchIcon()
                                              : SwatchIcon(static_cast<ColourRef>(colour)));
}

// Ticked when every member is selected, half ticked when some are: a click
// on a half-ticked group selects them all.
Qt::CheckState GroupCheck(const CTarvoAnalyzerDoc& doc, const CGroupInfo& group) {
    int members = 0, selected = 0;
    for (const CGroupItem& item : group.items) {
        if (!IsMember(doc, item))
            continue;
        ++members;
        selected += doc.aps[item.apIndex].selected ? 1 : 0;
    }
    if (selected == 0)
        return Qt::Unchecked;
    return selected == members ? Qt::Checked : Qt::PartiallyChecked;
}

void SetApItem(QTreeWidgetItem* item, const CTarvoAnalyzerDoc& doc, int apIndex) {
    item->setText(0, QString::fromStdString(ApItemText(doc, apIndex)));
    SetSwatch(item, ApContourColour(doc, apIndex));
    CApTreeCtrl::SetChecked(item, doc.aps[apIndex].selected != 0);
}

void SetGroupItem(QTreeWidgetItem* item, const CTarvoAnalyzerDoc& doc, const CGroupInfo& group) {
    item->setText(0, QString::fromStdString(group.name));
    SetSwatch(item, doc.coverageMode == 1 ? qlonglong{group.colour} : kNeutralSwatch);
    CApTreeCtrl::SetCheckState(item, GroupCheck(doc, group));
}

// True when the tree lists exactly the groups and members of the document.
bool SameStructure(const CApTreeCtrl& tree, const CTarvoAnalyzerDoc& doc) {
    const auto& groups = doc.activeGroups.groups;
    if (tree.topLevelItemCount() != groups.GetSize())
        return false;
    for (int j = 0; j < groups.GetSize(); ++j) {
        const QTreeWidgetItem* root = tree.topLevelItem(j);
        if (CApTreeCtrl::ItemData(root) != GroupItemData(j))
            return false;
        int child = 0;
        for (const CGroupItem& item : groups[j].items) {
            if (!IsMember(doc, item))
                continue;
            if (child >= root->childCount() ||
                CApTreeCtrl::ItemData(root->child(child)) != item.apIndex)
                return false;
            ++child;
        }
        if (child != root->childCount())
            return false;
    }
    return true;
}

} // namespace

std::string ApItemText(const CTarvoAnalyzerDoc& doc, int apIndex) {
    const CAPInfo& ap = doc.aps[apIndex];
    if (doc.sortBySsid)
        return MacText(ap.bssid) + Format(", Chan: %d", ap.channel);
    return MacText(ap.bssid) + ", SSID:\"" + SsidText(ap.ssid) + "\"";
}

void FillFileList(CApTreeCtrl& tree, const CTarvoAnalyzerDoc& doc) {
    tree.setUpdatesEnabled(false);
    tree.clear();
    auto* root = new QTreeWidgetItem(QStringList(QStringLiteral("SSD Files")));
    QFont narrow(QStringLiteral("Arial Narrow"));
    narrow.setPointSizeF(6.0);
    root->setFont(0, narrow);
    SetSwatch(root, kNeutralSwatch);
    CApTreeCtrl::SetItemData(root, kFileListRootData);
    bool all = !doc.files.IsEmpty();
    for (int i = 0; i < doc.files.GetSize(); ++i) {
        const CDataFile& file = doc.files[i];
        auto* item = new QTreeWidgetItem(root, QStringList(QString::fromStdString(file.title)));
        SetSwatch(item, file.colour);
        item->setToolTip(0, QString::fromStdString(file.path));
        CApTreeCtrl::SetItemData(item, FileItemData(i));
        CApTreeCtrl::SetChecked(item, file.selected != 0);
        all = all && file.selected != 0;
    }
    CApTreeCtrl::SetChecked(root, all);
    tree.addTopLevelItem(root);
    tree.ExpandAll();
    tree.setUpdatesEnabled(true);
}

void FillApTree(CApTreeCtrl& tree, const CTarvoAnalyzerDoc& doc) {
    tree.setUpdatesEnabled(false);
    tree.clear();
    QList<QTreeWidgetItem*> roots;
    const auto& groups = doc.activeGroups.groups;
    roots.reserve(groups.GetSize());
    for (int j = 0; j < groups.GetSize(); ++j) {
        auto* root = new QTreeWidgetItem;
        CApTreeCtrl::SetItemData(root, GroupItemData(j));
        SetGroupItem(root, doc, groups[j]);
        for (const CGroupItem& member : groups[j].items) {
            if (!IsMember(doc, member))
                continue;
            auto* item = new QTreeWidgetItem(root);
            CApTreeCtrl::SetItemData(item, member.apIndex);
            SetApItem(item, doc, member.apIndex);
        }
        roots << root;
    }
    tree.addTopLevelItems(roots);
    tree.ExpandAll();
    if (!roots.isEmpty())
        tree.setCurrentItem(roots.front());
    tree.setUpdatesEnabled(true);
}

void RefreshApTree(CApTreeCtrl& tree, const CTarvoAnalyzerDoc& doc) {
    if (!SameStructure(tree, doc)) {
        FillApTree(tree, doc);
        return;
    }
    const auto& groups = doc.activeGroups.groups;
    for (int j = 0; j < groups.GetSize(); ++j) {
        QTreeWidgetItem* root = tree.topLevelItem(j);
        SetGroupItem(root, doc, groups[j]);
        for (int c = 0; c < root->childCount(); ++c)
            SetApItem(root->child(c), doc, CApTreeCtrl::ItemData(root->child(c)));
    }
}

} // namespace tarvo
