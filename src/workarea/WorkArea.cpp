#include "workarea/WorkArea.h"

#include "workarea/LineFormat.h"

int WorkArea::Is_File_Open(const QString &path) const
{
    return Search_Hit_File_List.indexOfCaseInsensitive(path) >= 0 ? 1 : 0;
}

int WorkArea::Add_File(const QString &path)
{
    if (Search_Hit_File_List.isFull() || Search_Hit_File_Change.isFull())
        return -1;
    const int index = Search_Hit_File_List.add(path, 0);
    Search_Hit_File_Change.add(path, 0);
    return index;
}

bool WorkArea::Admits(qint64 lines) const
{
    return Search_Hit_All_Line_List.count() + lines <= kAdmissionLimit;
}

bool WorkArea::Append_Display_Line(const QString &text)
{
    if (!Display_Room(1))
        return false;
    const FittedLine fitted = LineFormat::Fit_Display_Line(text);
    const int index = Search_Hit_List.add(fitted.text, fitted.byteLength);
    if (LineFormat::Is_Header(text))
        Search_Hit_List.setTag(index, LineFormat::Header_Key(text));
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
    return LineFormat::Ucase(Search_Hit_File_List.text(i));
}
