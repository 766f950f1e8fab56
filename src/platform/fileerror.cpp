#include "fileerror.h"

using namespace Qt::StringLiterals;

namespace kurubako {

FsError fsError(FileError error)
{
    QString text;
    switch (error) {
    case FileError::None:
        return {};
    case FileError::NoSafeRename:
        text = u"このフォルダーでは、ほかのファイルを上書きせずに名前を変えることができません。"_s;
        break;
    case FileError::BadFileName:
        text = u"ファイル名が正しくありません。"_s;
        break;
    case FileError::FileNotFound:
        text = u"ファイルが見つかりません。"_s;
        break;
    case FileError::DeviceIo:
        text = u"デバイスの入出力エラーです。"_s;
        break;
    case FileError::FileExists:
        text = u"同じ名前のファイルが既にあります。"_s;
        break;
    case FileError::DiskFull:
        text = u"ディスクの空き容量が足りません。"_s;
        break;
    case FileError::NameTooLong:
        text = u"ファイル名が長すぎます。"_s;
        break;
    case FileError::PermissionDenied:
        text = u"書き込みが許可されていません。"_s;
        break;
    case FileError::OtherDevice:
        text = u"別のドライブへは名前の変更で移せません。"_s;
        break;
    case FileError::ReadOnly:
        text = u"読み取り専用のドライブなので変更できません。"_s;
        break;
    case FileError::PathNotFound:
        text = u"おやつのフォルダーが見つかりません。"_s;
        break;
    case FileError::BothNamesLeft:
        text = u"ファイルが新しい名前と元の名前の両方で残りました。どちらか一方を消してください。"_s;
        break;
    case FileError::OtherFileAside:
        text =
            u"ほかのプログラムが元の名前で置いたファイルを元に戻せませんでした。隠しファイルとして残っています："_s;
        break;
    case FileError::Unexpected:
        text = u"予期しないエラーです。"_s;
        break;
    }
    return {error, static_cast<int>(error), text};
}

} // namespace kurubako
