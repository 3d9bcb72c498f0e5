#include "workarea/WorkArea.h"

#include "platform/NativeName.h"
#include "workarea/LineFormat.h"

int WorkArea::Is_File_Open(const QString &path) const
{
    return Search_Hit_File_List.indexOf(path) >= 0 ? 1 : 0;
}

int WorkArea::Add_File(const QString &path, const FileOrigin &origin)
{
    if (Search_Hit_File_List.isFull() || Search_Hit_File_Change.isFull())
        return -1;
    const int index = Search_Hit_File_List.add(path, 0);
    Search_Hit_File_Change.add(path, 0);
    // A writer that filled the file list directly left its origins unknown.
    if (Search_Hit_File_Origin.size() < index)
        Search_Hit_File_Origin.resize(index);
    Search_Hit_File_Origin.insert(index, origin);
    return index;
}

void WorkArea::Remove_File(int i)
{
    if (i < 0 || i >= Search_Hit_File_List.count())
        return;
    Search_Hit_File_List.remove(i);
    Search_Hit_File_Change.remove(i);
    if (i < Search_Hit_File_Origin.size())
        Search_Hit_File_Origin.removeAt(i);
}

QByteArray WorkArea::Native_Path(int i) const
{
    if (i >= 0 && i < Search_Hit_File_Origin.size() && !Search_Hit_File_Origin.at(i).nativePath.isEmpty())
        return Search_Hit_File_Origin.at(i).nativePath;
    if (i < 0 || i >= Search_Hit_File_List.count())
        return QByteArray();
    return NativeName::encode(Search_Hit_File_List.text(i));
}

bool WorkArea::Admits(qint64 lines) const
{
    return Search_Hit_All_Line_List.count() + lines <= kAdmissionLimit;
}

bool WorkArea::Append_Display_Line(const QString &text, const QString &fileKey)
{
    if (!Display_Room(1))
        return false;
    const FittedLine fitted = LineFormat::Fit_Display_Line(text);
    const int index = Search_Hit_List.add(fitted.text, fitted.byteLength);
    if (LineFormat::Is_Header(text))
        Search_Hit_List.setTag(index, fileKey.isEmpty() ? LineFormat::Header_Key(text) : fileKey);
    Mojisuu_Count_List.add(QString::number(fitted.charCount), 0);
    return true;
}

bool WorkArea::Display_Room(int n) const
{
    return Search_Hit_List.count() + n <= ItemList::kMaxItems
        && Mojisuu_Count_List.count() + n <= ItemList::kMaxItems;
}

void WorkArea::Clear_Results()
{
    Search_Hit_File_List.clear();
    Search_Hit_List.clear();
    Search_Hit_All_Line_List.clear();
    Mojisuu_Count_List.clear();
    Search_Hit_File_Change.clear();
    Search_Hit_File_Origin.clear();
}

void WorkArea::Clear_All()
{
    Clear_Results();
    Search_List.clear();
    Sort_List.clear();
}

QString WorkArea::Header_File_Key(int i) const
{
    if (i < 0 || i >= Search_Hit_List.count())
        return QString();
    return Search_Hit_List.tag(i);
}

QString WorkArea::File_Key(int i) const
{
    return Search_Hit_File_List.text(i);
}
