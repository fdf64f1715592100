object FSnimanjePodataka: TFSnimanjePodataka
  Left = 192
  Top = 107
  BorderStyle = bsDialog
  Caption = 'Snimanje podataka'
  ClientHeight = 132
  ClientWidth = 589
  Color = clBtnFace
  Font.Charset = ANSI_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  KeyPreview = True
  Position = poScreenCenter
  PixelsPerInch = 96
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnKeyDown = FormKeyDown
  OnShow = FormShow
  object Bevel1: TBevel
    Left = 0
    Top = 0
    Width = 585
    Height = 93
  end
  object Label1: TLabel
    Left = 92
    Top = 12
    Width = 37
    Height = 15
    Caption = 'Datum'
    Font.Height = -12
    Font.Name = 'Arial'
  end
  object Label4: TLabel
    Left = 10
    Top = 38
    Width = 119
    Height = 15
    Caption = 'Direktorij za snimanje'
    Font.Height = -12
    Font.Name = 'Arial'
  end
  object Label2: TLabel
    Left = 14
    Top = 70
    Width = 115
    Height = 15
    Caption = 'Godina koju snimam'
    Font.Height = -12
    Font.Name = 'Arial'
  end
  object BitBtn1: TBitBtn
    Left = 1
    Top = 97
    Width = 130
    Height = 28
    Caption = '&Snimi'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Height = -12
    Font.Name = 'Arial'
    TabOrder = 0
    OnClick = BitBtn1Click
    Glyph = 'SNIMIGLYPH'
    NumGlyphs = 2
  end
  object BitBtn2: TBitBtn
    Left = 136
    Top = 97
    Width = 130
    Height = 28
    Caption = '&Odustani'
    Cancel = True
    Font.Charset = EASTEUROPE_CHARSET
    Font.Height = -12
    Font.Name = 'Arial'
    TabOrder = 1
    OnClick = BitBtn2Click
    Glyph = 'ODUSTANIGLYPH'
    NumGlyphs = 2
  end
  object DirectoryEdit1: TDirectoryEdit
    Left = 136
    Top = 34
    Width = 441
    Height = 24
    Font.Height = -12
    Font.Name = 'Arial'
    NumGlyphs = 1
    TabOrder = 2
    Text = 'c:\'
  end
  object DateEdit1: TDateEdit
    Left = 136
    Top = 8
    Width = 121
    Height = 21
    NumGlyphs = 2
    TabOrder = 3
  end
  object EditGodina: TEdit
    Left = 136
    Top = 64
    Width = 61
    Height = 22
    TabOrder = 4
  end
  object LabelZadnja: TLabel
    Left = 208
    Top = 68
    Width = 369
    Height = 15
    Font.Charset = EASTEUROPE_CHARSET
    Font.Height = -12
    Font.Name = 'Arial'
  end
  object LabelFaza: TLabel
    Left = 276
    Top = 97
    Width = 305
    Height = 15
    Font.Charset = EASTEUROPE_CHARSET
    Font.Height = -12
    Font.Name = 'Arial'
    Visible = False
  end
  object ProgressBar1: TProgressBar
    Left = 276
    Top = 113
    Width = 305
    Height = 12
    Max = 1000
    Visible = False
  end
  object FormStorage1: TFormStorage
    StoredProps.Strings = (
      'DirectoryEdit1.Text')
  end
  object Vorbex1: TVorbex
    CompressionLevel = clFastest
    CompressionMode = 1
    CurrentVersion = '1.00 Beta'
    Options.ShareMode = smShareDenyWrite
    InMemory = False
    Verify = True
  end
end
