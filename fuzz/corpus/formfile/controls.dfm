object Form1: TForm
  Left = 10
  Top = 20
  BorderStyle = bsDialog
  Caption = 'Fuzz #1'#13#10'two'
  ClientHeight = 120
  ClientWidth = 200
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = [fsBold, fsItalic]
  KeyPreview = True
  PixelsPerInch = 96
  TextHeight = 13
  object Label1: TLabel
    Left = 8
    Top = 8
    Width = 32
    Height = 13
    Caption = '&Date'
    FocusControl = Edit1
  end
  object Edit1: TEdit
    Left = 8
    Top = 24
    Width = 121
    Height = 21
    CharCase = ecUpperCase
    MaxLength = 10
    PasswordChar = '*'
    TabOrder = 0
    Text = 'abc'
  end
  object Button1: TButton
    Left = 8
    Top = 60
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object Timer1: TTimer
    Interval = 250
    Left = 144
    Top = 84
  end
end
