object frmLists: TTestForm
  Caption = 'Lists and collections'
  object grid: TGrid
    Left = 8
    Lines.Strings = (
      'first line'
      'second '#39'quoted'#39' line'
      'joined ' +
        'across lines'
      '')
    Columns = <
      item
        Title = 'Name'
        Width = 120
      end
      item
        Buttons = <
          item
            Title = 'inner'
          end>
      end
      item
        Buttons = <>
      end>
  end
  object empty: TGrid
    Lines.Strings = ()
    Columns = <>
  end
end
