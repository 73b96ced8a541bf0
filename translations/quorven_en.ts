<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Application</name>
    <message>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>Chip16Page</name>
    <message>
        <source>未使用16x16チップ番号</source>
        <translation>Unused 16x16 chips</translation>
    </message>
    <message>
        <source>32x32チップに使用されてない16x16チップ番号は</source>
        <translation>16x16 chips that no 32x32 chip uses:</translation>
    </message>
    <message>
        <source>未使用タイル番号</source>
        <translation>Unused tiles</translation>
    </message>
    <message>
        <source>16x16チップに使用されてないタイル番号は</source>
        <translation>Tiles that no 16x16 chip uses:</translation>
    </message>
    <message>
        <source>  No:</source>
        <translation>  No:</translation>
    </message>
    <message>
        <source>Tile:</source>
        <translation>Tile:</translation>
    </message>
    <message>
        <source>属性:</source>
        <translation>Attr:</translation>
    </message>
    <message>
        <source>選択タイル</source>
        <translation>Tile</translation>
    </message>
    <message>
        <source>No:</source>
        <translation>No:</translation>
    </message>
    <message>
        <source>開始位置:</source>
        <translation>Load point:</translation>
    </message>
    <message>
        <source>スタート地点～</source>
        <translation>From start</translation>
    </message>
    <message>
        <source>中間1～</source>
        <translation>From mid 1</translation>
    </message>
    <message>
        <source>中間2～</source>
        <translation>From mid 2</translation>
    </message>
    <message>
        <source>データ番号:</source>
        <translation>Data No:</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>スクロール番号:</source>
        <translation>Scroll No:</translation>
    </message>
    <message>
        <source>再読み込み</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>チップ属性</source>
        <translation>Chip attribute</translation>
    </message>
    <message>
        <source>使用パレット</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>x%1</source>
        <translation>x%1</translation>
    </message>
    <message>
        <source>未使用チップ番号表示</source>
        <translation>Show unused chips</translation>
    </message>
    <message>
        <source>未使用タイル番号表示</source>
        <translation>Show unused tiles</translation>
    </message>
    <message>
        <source>このステージのチップ・BGバンクを読み込み直します。よろしいですか？</source>
        <translation>This reloads the chips and BG bank of this stage. Are you sure?</translation>
    </message>
</context>
<context>
    <name>Chip32Page</name>
    <message>
        <source>このステージの32x32チップデータを読み込み直します。よろしいですか？</source>
        <translation>This reloads the 32x32 chip data of this stage. Are you sure?</translation>
    </message>
    <message>
        <source>未使用32x32チップ番号</source>
        <translation>Unused 32x32 chips</translation>
    </message>
    <message>
        <source>マップセットに使用されてない32x32チップ番号は</source>
        <translation>32x32 chips that no map set uses:</translation>
    </message>
    <message>
        <source>重複チップの置換</source>
        <translation>Replace duplicate chips</translation>
    </message>
    <message>
        <source>重複定義されている32x32チップ番号は</source>
        <translation>32x32 chips defined more than once:</translation>
    </message>
    <message>
        <source>表示切替</source>
        <translation>Half</translation>
    </message>
    <message>
        <source>No:</source>
        <translation>No:</translation>
    </message>
    <message>
        <source>再読み込み</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>編集対象チップ</source>
        <translation>Chip to edit</translation>
    </message>
    <message>
        <source>  構成チップNo:</source>
        <translation>  Parts No:</translation>
    </message>
    <message>
        <source>構成チップ属性:</source>
        <translation>Parts attr:</translation>
    </message>
    <message>
        <source>選択チップ</source>
        <translation>Selected chip</translation>
    </message>
    <message>
        <source>  No:</source>
        <translation>  No:</translation>
    </message>
    <message>
        <source>属性:</source>
        <translation>Attr:</translation>
    </message>
    <message>
        <source>グリッド線の描画</source>
        <translation>Draw grid lines</translation>
    </message>
    <message>
        <source>未使用チップ番号表示</source>
        <translation>Show unused chips</translation>
    </message>
    <message>
        <source>重複チップ番号表示</source>
        <translation>Show duplicates</translation>
    </message>
</context>
<context>
    <name>ChipNames</name>
    <message>
        <source>0x 背景</source>
        <translation>0x Background</translation>
    </message>
    <message>
        <source>1x ブロック</source>
        <translation>1x Block</translation>
    </message>
    <message>
        <source>2x はしご(途中)</source>
        <translation>2x Ladder (middle)</translation>
    </message>
    <message>
        <source>3x 特殊ブロック</source>
        <translation>3x Special block</translation>
    </message>
    <message>
        <source>4x はしご(頂点)</source>
        <translation>4x Ladder (top)</translation>
    </message>
    <message>
        <source>5x コンベア(右)</source>
        <translation>5x Conveyor (right)</translation>
    </message>
    <message>
        <source>6x 前景</source>
        <translation>6x Foreground</translation>
    </message>
    <message>
        <source>7x コンベア(左)</source>
        <translation>7x Conveyor (left)</translation>
    </message>
    <message>
        <source>8x 水中</source>
        <translation>8x Water</translation>
    </message>
    <message>
        <source>9x ?</source>
        <translation>9x ?</translation>
    </message>
    <message>
        <source>Ax ?</source>
        <translation>Ax ?</translation>
    </message>
    <message>
        <source>Bx ?</source>
        <translation>Bx ?</translation>
    </message>
    <message>
        <source>Cx ?</source>
        <translation>Cx ?</translation>
    </message>
    <message>
        <source>Dx ダメージ床</source>
        <translation>Dx Damage floor</translation>
    </message>
    <message>
        <source>Ex ?</source>
        <translation>Ex ?</translation>
    </message>
    <message>
        <source>Fxトゲ</source>
        <translation>Fx Spikes</translation>
    </message>
    <message>
        <source>6x 背景裏に隠れる</source>
        <translation>6x Behind background</translation>
    </message>
    <message>
        <source>Fx トゲ</source>
        <translation>Fx Spikes</translation>
    </message>
</context>
<context>
    <name>ColourTable</name>
    <message>
        <source>%1が読み込めませんでした</source>
        <translation>Could not read %1</translation>
    </message>
    <message>
        <source>%1のサイズが不正です</source>
        <translation>%1 has a wrong size</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>ファミコンのROMイメージのステージを編集します。</source>
        <translation>Edits the stages of a Famicom ROM image.</translation>
    </message>
    <message>
        <source>バージョンを表示して終了します。</source>
        <translation>Displays version information and exits.</translation>
    </message>
    <message>
        <source>開くROMイメージ（.nes）。&quot;-&quot; で始まる名前は &quot;--&quot; の後に書きます。</source>
        <translation>The ROM image (.nes) to open. A name that starts with &quot;-&quot; follows &quot;--&quot;.</translation>
    </message>
    <message>
        <source>開けるROMイメージは一つだけです: %1</source>
        <translation>Only one ROM image can be opened: %1</translation>
    </message>
    <message>
        <source>未知のオプションです: &apos;%1&apos;（--help で使い方を表示します）</source>
        <translation>unknown option &apos;%1&apos; (see --help)</translation>
    </message>
    <message>
        <source>ウィンドウを表示するディスプレイがありません（DISPLAY が設定されていません）</source>
        <translation>there is no display to show the window on (DISPLAY is not set)</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>16x16チップの編集</source>
        <translation>16x16 chip edit</translation>
    </message>
    <message>
        <source>16x16チップの編集(属性・パレット)</source>
        <translation>16x16 chip edit (attribute, palette)</translation>
    </message>
    <message>
        <source>16x16チップの編集(貼り付け)</source>
        <translation>16x16 chip edit (paste)</translation>
    </message>
    <message>
        <source>32x32チップの編集</source>
        <translation>32x32 chip edit</translation>
    </message>
    <message>
        <source>32x32チップの編集(貼り付け)</source>
        <translation>32x32 chip edit (paste)</translation>
    </message>
    <message>
        <source>マップセットの編集</source>
        <translation>Map set edit</translation>
    </message>
    <message>
        <source>マップセットの編集(貼り付け)</source>
        <translation>Map set edit (paste)</translation>
    </message>
    <message>
        <source>マップセットの編集(グリッド編集)</source>
        <translation>Map set edit (grid)</translation>
    </message>
    <message>
        <source>マップの編集</source>
        <translation>Map edit</translation>
    </message>
    <message>
        <source>パレットの編集</source>
        <translation>Palette edit</translation>
    </message>
    <message>
        <source>パレットアニメの編集</source>
        <translation>Palette animation edit</translation>
    </message>
    <message>
        <source>変更あり</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>ファイルを開けませんでした</source>
        <translation>Could not open the file</translation>
    </message>
    <message>
        <source>ROMイメージが異常です</source>
        <translation>The ROM image is not valid</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>16MiBを超えるイメージはIPSパッチにできません</source>
        <translation>An image over 16 MiB cannot be made into an IPS patch</translation>
    </message>
    <message>
        <source>画像を保存できませんでした</source>
        <translation>Could not save the picture</translation>
    </message>
    <message>
        <source>エクスポート(&amp;E)</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>IPSパッチを作成...</source>
        <translation>Create IPS patch...</translation>
    </message>
    <message>
        <source>BPSパッチを作成...</source>
        <translation>Create BPS patch...</translation>
    </message>
    <message>
        <source>画像として保存...</source>
        <translation>Save as picture...</translation>
    </message>
    <message>
        <source>テストプレイ</source>
        <translation>Test play</translation>
    </message>
    <message>
        <source>BPSパッチを作成</source>
        <translation>Create BPS patch</translation>
    </message>
    <message>
        <source>BPSパッチ (*.bps)</source>
        <translation>BPS patch (*.bps)</translation>
    </message>
    <message>
        <source>IPSパッチを作成</source>
        <translation>Create IPS patch</translation>
    </message>
    <message>
        <source>IPSパッチ (*.ips)</source>
        <translation>IPS patch (*.ips)</translation>
    </message>
    <message>
        <source>画像として保存</source>
        <translation>Save as picture</translation>
    </message>
    <message>
        <source>PNG画像 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>QUORVEN ROMイメージ (*.nes)</source>
        <translation>QUORVEN ROM image (*.nes)</translation>
    </message>
    <message>
        <source>すべてのファイル (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
</context>
<context>
    <name>GridDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>クリップボードにコピー</source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>クリップボードから貼り付け</source>
        <translation>Paste from clipboard</translation>
    </message>
    <message>
        <source>選択範囲を初期化</source>
        <translation>Fill selection</translation>
    </message>
    <message>
        <source>マップセット(番号%1)の編集</source>
        <translation>Edit map set %1</translation>
    </message>
    <message>
        <source>選択範囲の初期化</source>
        <translation>Fill selection</translation>
    </message>
    <message>
        <source>初期化に使用する値を入力して下さい(00～FF)</source>
        <translation>Enter the value to fill with (00-FF)</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>編集履歴</source>
        <translation>Edit history</translation>
    </message>
    <message>
        <source>&lt;開いた時点&gt;</source>
        <translation>&lt;As opened&gt;</translation>
    </message>
    <message>
        <source>元に戻す機能は無効です</source>
        <translation>Undo is turned off</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>マップ</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>マップセット</source>
        <translation>Map set</translation>
    </message>
    <message>
        <source>32x32チップ</source>
        <translation>32x32 chips</translation>
    </message>
    <message>
        <source>16x16チップ</source>
        <translation>16x16 chips</translation>
    </message>
    <message>
        <source>パレット</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>オブジェクト</source>
        <translation>Objects</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)</source>
        <translation>Save &amp;As</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>最近使ったファイル</source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>表示倍率</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>ObjectList.txtを読み込めませんでした。</source>
        <translation>Could not read ObjectList.txt.</translation>
    </message>
    <message>
        <source>ステージ%1のデータがファイル外にあります</source>
        <translation>Stage %1 has data outside the file</translation>
    </message>
    <message>
        <source>見つからないため履歴から外しました: %1</source>
        <translation>Removed from the recent files, as it is missing: %1</translation>
    </message>
    <message>
        <source>見つからないファイル%1個を履歴から外しました</source>
        <translation>Removed %1 missing files from the recent files</translation>
    </message>
    <message>
        <source>表示倍率は次回の起動から%1%になります</source>
        <translation>The zoom becomes %1% at the next start</translation>
    </message>
    <message>
        <source>言語は次回の起動から切り替わります</source>
        <translation>The language changes at the next start</translation>
    </message>
    <message>
        <source>%1への変更を保存しますか？</source>
        <translation>Save the changes to %1?</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U) - %1</source>
        <translation>&amp;Undo - %1</translation>
    </message>
    <message>
        <source>やり直し(&amp;R) - %1</source>
        <translation>&amp;Redo - %1</translation>
    </message>
    <message>
        <source>検索(&amp;S)</source>
        <translation>&amp;Search</translation>
    </message>
    <message>
        <source>使用箇所を探す</source>
        <translation>Find usages</translation>
    </message>
</context>
<context>
    <name>MapPage</name>
    <message>
        <source>このステージのマップデータを読み込み直します。よろしいですか？</source>
        <translation>This reloads the map data of this stage. Are you sure?</translation>
    </message>
    <message>
        <source>マップ編集</source>
        <translation>Map edit</translation>
    </message>
    <message>
        <source>マップセット番号:</source>
        <translation>Map set No:</translation>
    </message>
    <message>
        <source>編集部屋番号:</source>
        <translation>Screens:</translation>
    </message>
    <message>
        <source>再読み込み</source>
        <translation>Reload</translation>
    </message>
</context>
<context>
    <name>MapSetPage</name>
    <message>
        <source>表示ページ</source>
        <translation>Shown map sets</translation>
    </message>
    <message>
        <source>Page%1:</source>
        <translation>Page%1:</translation>
    </message>
    <message>
        <source>選択チップ</source>
        <translation>Selected chip</translation>
    </message>
    <message>
        <source>No:</source>
        <translation>No:</translation>
    </message>
    <message>
        <source>構成チップNo:</source>
        <translation>Parts No:</translation>
    </message>
    <message>
        <source>構成チップ属性:</source>
        <translation>Parts attr:</translation>
    </message>
    <message>
        <source>グリッド線の描画</source>
        <translation>Draw grid lines</translation>
    </message>
    <message>
        <source>再読み込み</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>重複チップを置換</source>
        <translation>Replace duplicates</translation>
    </message>
    <message>
        <source>このステージのマップセットデータを読み込み直します。よろしいですか？</source>
        <translation>This reloads the map set data of this stage. Are you sure?</translation>
    </message>
    <message>
        <source>置換対象チップはありません。</source>
        <translation>There are no chips to replace.</translation>
    </message>
    <message>
        <source>マップセット内のチップ番号を以下のように置換します</source>
        <translation>The map set chips are replaced as follows</translation>
    </message>
    <message>
        <source>%1個のチップを置換しました</source>
        <translation>Replaced %1 chips</translation>
    </message>
</context>
<context>
    <name>ObjectListDialog</name>
    <message>
        <source>&quot;X座標 Y座標 種類&quot;を1列に記述して下さい</source>
        <translation>Write one &quot;X Y kind&quot; per line</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ObjectPage</name>
    <message>
        <source>オブジェクトの総数を越えるため、オブジェクトを作成できませんでした</source>
        <translation>The object could not be created: the stage would hold too many objects</translation>
    </message>
    <message>
        <source>このステージのオブジェクトデータを読み込み直します。よろしいですか？</source>
        <translation>This reloads the object data of this stage. Are you sure?</translation>
    </message>
    <message>
        <source>設置番号:</source>
        <translation>Number:</translation>
    </message>
    <message>
        <source>X座標:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Y座標:</source>
        <translation>Y:</translation>
    </message>
    <message>
        <source>種類:</source>
        <translation>Kind:</translation>
    </message>
    <message>
        <source>オブジェクト(%1)を貼り付け</source>
        <translation>Paste object (%1)</translation>
    </message>
    <message>
        <source>オブジェクトを貼り付け</source>
        <translation>Paste object</translation>
    </message>
    <message>
        <source>部屋番号%1のオブジェクトの編集</source>
        <translation>Objects of screen %1</translation>
    </message>
    <message>
        <source>表示オブジェクト</source>
        <translation>Shown objects</translation>
    </message>
    <message>
        <source>    表示部屋番号:</source>
        <translation>    Screens:</translation>
    </message>
    <message>
        <source>オブジェクトの数:</source>
        <translation>Objects:</translation>
    </message>
    <message>
        <source>オブジェクト総数:</source>
        <translation>Total objects:</translation>
    </message>
    <message>
        <source>編集対象オブジェクト</source>
        <translation>Object to edit</translation>
    </message>
    <message>
        <source>部屋番号:</source>
        <translation>Screen:</translation>
    </message>
    <message>
        <source>   X座標:</source>
        <translation>   X:</translation>
    </message>
    <message>
        <source>   Y座標:</source>
        <translation>   Y:</translation>
    </message>
    <message>
        <source>    種類:</source>
        <translation>    Kind:</translation>
    </message>
    <message>
        <source>新規作成</source>
        <translation>New</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>オブジェクトを自動で並び替える</source>
        <translation>Sort objects automatically</translation>
    </message>
    <message>
        <source>ポップアップでオブジェクト情報を表示</source>
        <translation>Show object info in a tip</translation>
    </message>
    <message>
        <source>再読み込み</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>オブジェクトの新規作成</source>
        <translation>New object</translation>
    </message>
    <message>
        <source>このオブジェクトをコピー</source>
        <translation>Copy this object</translation>
    </message>
    <message>
        <source>このオブジェクトを切り取り</source>
        <translation>Cut this object</translation>
    </message>
    <message>
        <source>このオブジェクトを削除</source>
        <translation>Delete this object</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>PalettePage</name>
    <message>
        <source>このステージのパレットを読み込み直します。よろしいですか？</source>
        <translation>This reloads the palettes of this stage. Are you sure?</translation>
    </message>
    <message>
        <source>このステージのアニメーションパレットを読み込み直します。よろしいですか？</source>
        <translation>This reloads the animation palettes of this stage. Are you sure?</translation>
    </message>
    <message>
        <source>定義%1</source>
        <translation>Set %1</translation>
    </message>
    <message>
        <source>パレット編集</source>
        <translation>Palette edit</translation>
    </message>
    <message>
        <source>再読み込み</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>カラーテーブル</source>
        <translation>Color table</translation>
    </message>
    <message>
        <source>選択カラー</source>
        <translation>Selected color</translation>
    </message>
    <message>
        <source>No:</source>
        <translation>No:</translation>
    </message>
    <message>
        <source>パレットアニメーション選択</source>
        <translation>Palette animation</translation>
    </message>
</context>
<context>
    <name>SaveReport</name>
    <message>
        <source>%1 に新しい内容を書き込みましたが、フォルダーのフラッシュに失敗しました(%2)。停電などが起きると、このファイル名の変更が失われることがあります。</source>
        <translation>%1 now holds the new contents, but flushing its folder failed (%2): the new file may not survive a power loss under its name.</translation>
    </message>
</context>
<context>
    <name>StageFile</name>
    <message>
        <source>ステージをファイルから読み込む…</source>
        <translation>Import stage from file...</translation>
    </message>
    <message>
        <source>ステージをファイルに書き出す…</source>
        <translation>Export stage to file...</translation>
    </message>
    <message>
        <source>Tiledマップとして書き出す…</source>
        <translation>Export as Tiled map...</translation>
    </message>
    <message>
        <source>ステージをファイルに書き出す</source>
        <translation>Export stage to file</translation>
    </message>
    <message>
        <source>ステージファイル (*.json)</source>
        <translation>Stage files (*.json)</translation>
    </message>
    <message>
        <source>Tiledマップとして書き出す</source>
        <translation>Export as Tiled map</translation>
    </message>
    <message>
        <source>Tiledマップ (*.tmx)</source>
        <translation>Tiled maps (*.tmx)</translation>
    </message>
    <message>
        <source>ステージをファイルから読み込む</source>
        <translation>Import stage from file</translation>
    </message>
    <message>
        <source>ステージファイルを読み込めませんでした。
%1</source>
        <translation>Could not read the stage file.
%1</translation>
    </message>
    <message>
        <source>ファイルの内容はこのステージと同じです。何も変更しませんでした。</source>
        <translation>The file holds this stage as it is. Nothing was changed.</translation>
    </message>
    <message>
        <source>このステージのチップとマップセットはステージ %1 と共有されています。
読み込むとそれらのステージも変わります。読み込みますか？</source>
        <translation>This stage shares its chips and map sets with stage %1.
Importing changes those stages too. Import?</translation>
    </message>
</context>
<context>
    <name>StageOverview</name>
    <message>
        <source>ステージ全体図</source>
        <translation>Stage overview</translation>
    </message>
    <message>
        <source>部屋番号%1  マップセット%2  オブジェクト%3個</source>
        <translation>Screen %1  Map set %2  %3 objects</translation>
    </message>
</context>
<context>
    <name>StageTitles</name>
    <message>
        <source>はじまりの草原</source>
        <translation>First Meadow</translation>
    </message>
    <message>
        <source>風の森</source>
        <translation>Wind Forest</translation>
    </message>
    <message>
        <source>石切り場</source>
        <translation>Stone Quarry</translation>
    </message>
    <message>
        <source>地下水路</source>
        <translation>Underground Canal</translation>
    </message>
    <message>
        <source>砂の遺跡</source>
        <translation>Sand Ruins</translation>
    </message>
    <message>
        <source>氷の山道</source>
        <translation>Icy Mountain Path</translation>
    </message>
    <message>
        <source>溶岩洞</source>
        <translation>Lava Cave</translation>
    </message>
    <message>
        <source>空中庭園</source>
        <translation>Sky Garden</translation>
    </message>
    <message>
        <source>古い時計塔</source>
        <translation>Old Clock Tower</translation>
    </message>
    <message>
        <source>歯車工場</source>
        <translation>Gear Factory</translation>
    </message>
    <message>
        <source>海底神殿</source>
        <translation>Undersea Temple</translation>
    </message>
    <message>
        <source>雲の回廊</source>
        <translation>Cloud Corridor</translation>
    </message>
    <message>
        <source>鏡の迷宮</source>
        <translation>Mirror Maze</translation>
    </message>
    <message>
        <source>嵐の港</source>
        <translation>Stormy Harbor</translation>
    </message>
    <message>
        <source>黒い城壁</source>
        <translation>Black Ramparts</translation>
    </message>
    <message>
        <source>最後の塔</source>
        <translation>Last Tower</translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>タイルNo:%1</source>
        <translation>Tile No:%1</translation>
    </message>
    <message>
        <source>16x16チップNo:%1</source>
        <translation>16x16 chip No:%1</translation>
    </message>
    <message>
        <source>32x32チップNo:%1</source>
        <translation>32x32 chip No:%1</translation>
    </message>
    <message>
        <source>Index:%1(%2,%3) 32x32チップNo:%4</source>
        <translation>Index:%1(%2,%3) 32x32 chip No:%4</translation>
    </message>
    <message>
        <source>色番号:%1</source>
        <translation>Color No:%1</translation>
    </message>
</context>
<context>
    <name>TestPlay</name>
    <message>
        <source>エミュレータを起動できませんでした</source>
        <translation>Could not start the emulator</translation>
    </message>
    <message>
        <source>エミュレータが見つかりません。%1 の [TestPlay] に Emulator=コマンドライン（%f がROMイメージのファイル名になります）を書いてください</source>
        <translation>No emulator found. Put Emulator=&lt;command line&gt; in section [TestPlay] of %1 (%f stands for the file name of the ROM image)</translation>
    </message>
    <message>
        <source>エミュレータを起動できませんでした: %1</source>
        <translation>Could not start the emulator: %1</translation>
    </message>
</context>
<context>
    <name>UsageFinder</name>
    <message>
        <source>左上</source>
        <translation>top left</translation>
    </message>
    <message>
        <source>右上</source>
        <translation>top right</translation>
    </message>
    <message>
        <source>左下</source>
        <translation>bottom left</translation>
    </message>
    <message>
        <source>右下</source>
        <translation>bottom right</translation>
    </message>
    <message>
        <source>使用箇所</source>
        <translation>Usages</translation>
    </message>
    <message>
        <source>16x16チップ %1</source>
        <translation>16x16 chip %1</translation>
    </message>
    <message>
        <source>32x32チップ %1</source>
        <translation>32x32 chip %1</translation>
    </message>
    <message>
        <source>マップセット %1</source>
        <translation>Map set %1</translation>
    </message>
    <message>
        <source>オブジェクト %1</source>
        <translation>Object %1</translation>
    </message>
    <message>
        <source>%1: 使用されていません</source>
        <translation>%1: not used</translation>
    </message>
    <message>
        <source>%1: %2箇所</source>
        <translation>%1, uses: %2</translation>
    </message>
    <message>
        <source>32x32チップ %1 %2</source>
        <translation>32x32 chip %1 %2</translation>
    </message>
    <message>
        <source>マップセット %1 (%2,%3)</source>
        <translation>Map set %1 (%2,%3)</translation>
    </message>
    <message>
        <source>部屋番号 %1</source>
        <translation>Screen %1</translation>
    </message>
    <message>
        <source>部屋番号 %1  X:%2 Y:%3</source>
        <translation>Screen %1  X:%2 Y:%3</translation>
    </message>
</context>
<context>
    <name>UsageList</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>未使用チップ番号</source>
        <translation>Unused chips</translation>
    </message>
    <message>
        <source>未使用チップ番号は</source>
        <translation>Unused chips:</translation>
    </message>
</context>
</TS>
